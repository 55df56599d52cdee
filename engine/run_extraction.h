// The run command: one request from start to its closing box.
#pragma once

#include "engine/extract_request.h"
#include "platform/win_types.h"

namespace sif {

// Runs `request`, showing the run's boxes owned by `owner`. Returns the
// catalogue id (German) of the box that closed the run: a notice
// (kMsgMultilineOk, kMsgCompleted) or an error (kMsgSameFile,
// kMsgListMissing, kMsgFileFailed).
UINT RunRequest(const ExtractRequest& request, HWND owner);

// TRUE when the closing id is an error.
bool IsErrorOutcome(UINT closingId);

}  // namespace sif
