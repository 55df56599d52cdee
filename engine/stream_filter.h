// Multiline stream filter.
#pragma once

namespace sif {

// The bytes the filter reads at a time: large, so that a read and a write
// cost little beside the filtering, yet well inside the second-level cache.
inline constexpr unsigned kStreamReadSize = 256 * 1024;

// Appends to `target` the bytes of `source` inside delimited stretches (mode
// 0) or outside them, delimiters dropped (any other mode). Returns 1 on
// success, 0 when a file could not be opened or a read or write failed.
int StreamFilter(const char* source, const char* target, const char* left, const char* right,
                 int mode);

}  // namespace sif
