// The numbered message catalogue of the engine. Each German id has an English
// twin 20 higher.
#pragma once

#include "platform/win_types.h"

namespace sif {

enum MessageId : UINT {
    kMsgMultilineOk = 3038,
    kCaptionNotice = 3039,
    kMsgSameFile = 3040,
    kCaptionError = 3041,
    kMsgListMode = 3042,
    kMsgListMissing = 3043,
    kMsgFileFailed = 3044,
    kMsgCompleted = 3045,
    kMsgSourceMissing = 3046,
    kMsgCreateTarget = 3047,
    kMsgLineTooLong = 3048,
    kMsgReadWriteError = 3049,
    kMsgDelimiterNotInCodePage = 3070,
    kMsgIncompleteAppend = 3071,
    kMsgTargetLocked = 3072,
};

inline constexpr UINT kEnglishOffset = 20;

// Loads text and caption (English twins when `english` is 1) and shows an
// OK box owned by `owner` (nullptr: no owner). Returns the box's answer.
int ShowMessage(HWND owner, UINT textId, UINT captionId, int english);

}  // namespace sif
