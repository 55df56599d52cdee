// The run command: one request from start to its closing box.
#pragma once

#include "engine/extract_request.h"
#include "engine/run_outcome.h"
#include "platform/win_types.h"

namespace sif {

// Runs `request`, showing the run's boxes owned by `owner`.
RunOutcome RunRequest(const ExtractRequest& request, HWND owner);

// True when the run closed with an error, a listed file failed or the list
// could not be read.
bool IsErrorOutcome(const RunOutcome& outcome);

}  // namespace sif
