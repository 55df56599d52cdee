// The run command: one request from start to its closing box.
#pragma once

#include "engine/extract_request.h"
#include "platform/win_types.h"

namespace sif {

// What a run ended with.
struct RunOutcome {
    // Catalogue id (German) of the box that closed the run: a notice
    // (kMsgMultilineOk, kMsgCompleted) or an error (kMsgSameFile,
    // kMsgListMissing, kMsgFileFailed).
    UINT closingId;
    // Listed files that failed; the list run still closes with a notice.
    int failedFiles = 0;
    // The list file could not be read to its end.
    bool listUnreadable = false;
};

// Runs `request`, showing the run's boxes owned by `owner`.
RunOutcome RunRequest(const ExtractRequest& request, HWND owner);

// True when the run closed with an error, a listed file failed or the list
// could not be read.
bool IsErrorOutcome(const RunOutcome& outcome);

}  // namespace sif
