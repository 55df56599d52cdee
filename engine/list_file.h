// The batch list: a file of source names, one per line.
#pragma once

#include "engine/extract_request.h"
#include "engine/run_extraction.h"
#include "platform/file_io.h"

namespace sif {

inline constexpr int kListNameSize = 260;

// Reads one list line into `name` (NUL-terminated, at most 258 characters).
// Returns FALSE when the line ended at the end of the file (it is still a
// line to process), TRUE when more may follow.
BOOL ReadListLine(HFILE list, char (&name)[kListNameSize]);

// Walks "Liste.txt" (else "liste.txt") in the current directory, extracting
// every listed name of more than 3 characters into the request's target.
// Returns the box that closed the run and the count of files that failed.
RunOutcome ListFile(const ExtractRequest& request, int positive, HWND owner);

}  // namespace sif
