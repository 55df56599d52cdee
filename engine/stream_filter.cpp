#include "engine/stream_filter.h"

#include <cstring>

#include "engine/operation_files.h"

namespace sif {

namespace {

// One read's worth of the source; the only memory the filter uses, whatever
// the size of the source.
constexpr UINT kChunkSize = 65536;

struct StreamState {
    char left;
    char right;
    bool keepInside;
    bool inside = false;  // carries over from one chunk to the next
};

// First `c` in [from, to), or `to`.
const char* Find(const char* from, const char* to, char c) {
    const void* found = std::memchr(from, c, static_cast<size_t>(to - from));
    return found != nullptr ? static_cast<const char*>(found) : to;
}

// Moves the kept bytes of chunk[0, count) to its front, in their order, and
// returns how many there are. Whole runs are moved at once; the delimiters
// are found with memchr.
UINT KeepBytes(StreamState& state, char* chunk, UINT count) {
    char* out = chunk;
    const char* p = chunk;
    const char* const end = chunk + count;
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
                // A right delimiter outside a stretch is dropped. Equal
                // delimiters leave none before `open`.
                if (state.left != state.right) {
                    for (const char* stray; (stray = Find(p, open, state.right)) != open;
                         p = stray + 1) {
                        keep(p, stray);
                    }
                }
                keep(p, open);
            }
            if (open == end) {
                break;
            }
            state.inside = true;
            p = open + 1;
        }
    }
    return static_cast<UINT>(out - chunk);
}

}  // namespace

int StreamFilter(const char* source, const char* target, const char* left, const char* right,
                 int mode) {
    OperationFiles files;
    // Unlike the line modes, a new target is created without a notice.
    if (!OpenOperationFiles(source, target, TargetNotice::Silent, &files)) {
        return 0;
    }

    StreamState state{left[0], right[0], mode == 0};
    char chunk[kChunkSize];
    for (;;) {
        const UINT got = _lread(files.source, chunk, kChunkSize);
        if (got == 0) {
            break;
        }
        if (got == static_cast<UINT>(HFILE_ERROR)) {
            FailOperation(&files);
            return 0;
        }
        const UINT kept = KeepBytes(state, chunk, got);
        if (kept > 0 && !WriteTarget(files, chunk, kept)) {
            FailOperation(&files);
            return 0;
        }
    }
    return CloseOperationFiles(&files) ? 1 : 0;
}

}  // namespace sif
