// The multiline filter's inner loop: keeps the bytes inside (or outside) the
// delimited stretches of one piece of the stream, moving them towards its
// front. The vector versions are kernels (engine/kernels); every version
// gives the same bytes as this one.
#pragma once

#include <cstddef>

namespace sif {

struct StreamState {
    char left;
    char right;
    bool keepInside;
    bool inside = false;  // carries over from one piece to the next
};

// Writes the kept bytes of in[0, count) to `out` in their order and returns
// the end of what it wrote. `out` may be `in` or lie before it; the bytes from
// `out` to `in + count` may be overwritten.
using KeepBytesFunction = char* (*)(StreamState& state, char* out, const char* in, size_t count);

// The reference: whole runs between delimiters moved at once.
char* KeepBytesScalar(StreamState& state, char* out, const char* in, size_t count);

}  // namespace sif
