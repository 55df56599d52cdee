// What a run ended with.
#pragma once

#include "platform/win_types.h"

namespace sif {

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

}  // namespace sif
