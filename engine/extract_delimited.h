// Positive line extractor.
#pragma once

namespace sif {

// Replaces `line` by its delimited pieces (text mode: all, joined by CR LF;
// resource mode: the first piece of a line the classifier accepts). Examines
// positions 0 .. examined - 2.
void ExtractDelimited(char* line, char left, char right, int examined, int resource);

// The pieces of line[0, end), every position of which is examined (the
// caller ends it after the first NUL), written to `out`, which may be `line`.
// Returns their length. The classifier is the caller's business.
int ExtractPieces(const char* line, int end, char left, char right, bool resourceMode, char* out);

}  // namespace sif
