#include "engine/stream_keep.h"

#include <cstring>

#include "engine/delimiter_rules.h"

namespace sif {

namespace {

// First `c` in [from, to), or `to`.
const char* Find(const char* from, const char* to, char c) {
    const void* found = std::memchr(from, c, static_cast<size_t>(to - from));
    return found != nullptr ? static_cast<const char*>(found) : to;
}

}  // namespace

char* KeepBytesScalar(StreamState& state, char* out, const char* in, size_t count) {
    const char* p = in;
    const char* const end = in + count;
    auto keep = [&out](const char* from, const char* to) {
        const size_t length = static_cast<size_t>(to - from);
        if (out != from) {
            std::memmove(out, from, length);
        }
        out += length;
    };

    while (p < end) {
        if (state.inside) {
            // A left delimiter in here is ordinary text: stretches don't nest.
            const char* close = Find(p, end, state.right);
            if (state.keepInside) {
                keep(p, close);
            }
            if (close == end) {
                break;
            }
            // The closing byte never opens the next stretch, also when the
            // delimiters are equal.
            state.inside = false;
            p = close + 1;
        } else {
            const char* open = Find(p, end, state.left);
            if (!state.keepInside) {
                KeepOutside(
                    p, open, state.left == state.right,
                    [&](const char* from, const char* to) { return Find(from, to, state.right); },
                    keep);
            }
            if (open == end) {
                break;
            }
            state.inside = true;
            p = open + 1;
        }
    }
    return out;
}

}  // namespace sif
