// The single-file line operation.
#pragma once

#include "engine/line_limits.h"

namespace sif {

// The engine's line buffer: the last piece of a file, which ends in the NUL
// stored for the read that found the end, is filtered there.
extern char g_szLine[kLineBufferSize];

// Appends the filtered lines of `source` to `target`. kind: 1 resource, 0
// text; positive: 1 keeps the delimited text, else the text outside it.
// Returns 1 when the source was processed to its end, 0 on failure.
int ExtractFile(const char* source, const char* target, const char* left, const char* right,
                int kind, int positive);

}  // namespace sif
