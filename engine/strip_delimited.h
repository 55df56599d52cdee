// Negative line filter.
#pragma once

namespace sif {

// Replaces `line` by its text outside delimited stretches, delimiters dropped.
// Examines positions 0 .. examined - 1, stopping at the first NUL. Returns the
// length of the result.
int StripDelimited(char* line, char left, char right, int examined);

// The text of line[0, end), which holds no NUL, outside delimited stretches,
// written to `out`, which may be `line`. Returns its length.
int StripPieces(const char* line, int end, char left, char right, char* out);

}  // namespace sif
