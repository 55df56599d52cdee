// Multiline stream filter.
#pragma once

namespace sif {

// Appends to `target` the bytes of `source` inside delimited stretches (mode
// 0) or outside them, delimiters dropped (any other mode). Returns 1 on
// success, 0 when a file could not be opened or a read or write failed.
int StreamFilter(const char* source, const char* target, const char* left, const char* right,
                 int mode);

}  // namespace sif
