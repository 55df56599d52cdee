#include "engine/run_extraction.h"

#include "engine/extract_file.h"
#include "engine/language.h"
#include "engine/list_file.h"
#include "engine/messages.h"
#include "engine/stream_filter.h"

namespace sif {

namespace {

bool IsListKeyword(const std::string& source) {
    return source == "#LISTE#" || source == "#Liste#";
}

}  // namespace

RunOutcome RunRequest(const ExtractRequest& request, HWND owner) {
    SetMessageLanguage(request.bEnglish);
    const int english = request.bEnglish;
    auto close = [&](UINT textId, UINT captionId) {
        ShowMessage(owner, textId, captionId, english);
        return RunOutcome{textId};
    };

    // Before anything else: with equal names a multiline run would read what
    // it appends and never end.
    if (request.szSource == request.szTarget) {
        return close(kMsgSameFile, kCaptionError);
    }

    const char* source = request.szSource.c_str();
    const char* target = request.szTarget.c_str();
    int positive = 1;
    switch (request.ModeToRun()) {
        case ModeNegative:
            positive = 0;
            break;
        case ModeMultilinePositive:
        case ModeMultilineNegative: {
            const int mode = request.ModeToRun() == ModeMultilinePositive ? 0 : 1;
            if (!StreamFilter(source, target, request.szLeft, request.szRight, mode)) {
                return close(kMsgFileFailed, kCaptionError);
            }
            return close(kMsgMultilineOk, kCaptionNotice);
        }
        case ModePositive:
            break;
    }

    if (IsListKeyword(request.szSource)) {
        return ListFile(request, positive, owner);
    }
    if (!ExtractFile(source, target, request.szLeft, request.szRight, request.nKind, positive)) {
        return close(kMsgFileFailed, kCaptionError);
    }
    return close(kMsgCompleted, kCaptionNotice);
}

bool IsErrorOutcome(const RunOutcome& outcome) {
    const UINT id = outcome.closingId;
    return id == kMsgSameFile || id == kMsgListMissing || id == kMsgFileFailed ||
           outcome.failedFiles > 0 || outcome.listUnreadable;
}

}  // namespace sif
