// Positive line extractor.
#pragma once

namespace sif {

// Replaces `line` by its delimited pieces (text mode: all, joined by CR LF;
// resource mode: the first piece of a line the classifier accepts). Examines
// positions 0 .. examined - 2.
void ExtractDelimited(char* line, char left, char right, int examined, int resource);

}  // namespace sif
