// The batch list: a file of source names, one per line.
#pragma once

#include "engine/extract_request.h"
#include "engine/run_outcome.h"
#include "platform/file_io.h"

namespace sif {

inline constexpr int kListNameSize = 260;

enum class ListLine {
    More,        // a line; more may follow
    Last,        // the line that ended at the end of the file (still a line)
    Unreadable,  // a read error: `name` is empty
};

// Reads one list line into `name` (NUL-terminated, at most 258 characters).
ListLine ReadListLine(HFILE list, char (&name)[kListNameSize]);

// Walks "Liste.txt" (else "liste.txt") in the current directory, extracting
// every listed name of more than 3 characters into the request's target.
// Returns the box that closed the run and the count of files that failed.
RunOutcome ListFile(const ExtractRequest& request, int positive, HWND owner);

}  // namespace sif
