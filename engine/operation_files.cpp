#include "engine/operation_files.h"

#include "engine/language.h"
#include "engine/messages.h"

namespace sif {

namespace {

void CloseBoth(OperationFiles* files) {
    if (files->source != HFILE_ERROR) {
        _lclose(files->source);
    }
    if (files->target != HFILE_ERROR) {
        _lclose(files->target);
    }
    files->source = HFILE_ERROR;
    files->target = HFILE_ERROR;
}

// Holds the target's lock from here until it is closed; under it the end
// found now is this operation's alone, and so is the cut-back to it.
BOOL LockAndFindEnd(OperationFiles* files) {
    if (!LockForAppend(files->target)) {
        CloseBoth(files);
        ShowMessage(nullptr, kMsgTargetLocked, kCaptionError, g_bMsgEnglish);
        return FALSE;
    }
    files->targetStart = _llseek(files->target, 0, FILE_END);
    if (files->targetStart < 0) {
        CloseBoth(files);
        ShowMessage(nullptr, kMsgReadWriteError, kCaptionError, g_bMsgEnglish);
        return FALSE;
    }
    SetCutBackOnInterrupt(files->target, files->targetStart);
    return TRUE;
}

}  // namespace

BOOL OpenOperationFiles(const char* source, const char* target, TargetNotice notice,
                        OperationFiles* files) {
    OFSTRUCT of{};
    files->source = OpenFile(source, &of, OF_READ);
    if (files->source == HFILE_ERROR) {
        ShowMessage(nullptr, kMsgSourceMissing, kCaptionError, g_bMsgEnglish);
        return FALSE;
    }

    files->target = OpenFile(target, &of, OF_READWRITE);
    const bool wasMissing = of.nErrCode == kErrorFileNotFound;
    if (files->target != HFILE_ERROR) {
        if (IsSameFile(files->source, files->target)) {
            // Appending to what is being read would never end and could
            // only damage the file.
            CloseBoth(files);
            ShowMessage(nullptr, kMsgSameFile, kCaptionError, g_bMsgEnglish);
            return FALSE;
        }
        if (_llseek(files->target, 0, FILE_CURRENT) < 0 && IsStandardStream(files->target)) {
            // A pipe or a terminal has no end to move to, no length to cut
            // back to and nothing to lock: it is written in order.
            files->canCutBack = false;
            return TRUE;
        }
        return LockAndFindEnd(files);
    }

    if (notice == TargetNotice::Show) {
        ShowMessage(nullptr, kMsgCreateTarget, kCaptionNotice, g_bMsgEnglish);
    }
    // Exclusive: an existing file that merely refused read-write access is
    // never replaced.
    files->target = OpenFile(target, &of, OF_CREATE | OF_READWRITE);
    if (files->target == HFILE_ERROR && wasMissing && of.nErrCode == kErrorFileExists) {
        // Another run created it a moment ago.
        files->target = OpenFile(target, &of, OF_READWRITE);
    }
    if (files->target == HFILE_ERROR) {
        CloseBoth(files);
        return FALSE;
    }
    return LockAndFindEnd(files);
}

BOOL CutTargetTo(const OperationFiles& files, INT64 length) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (TruncateFile(files.target, length)) {
            return TRUE;
        }
    }
    return _llseek(files.target, 0, FILE_END) == length ? TRUE : FALSE;
}

BOOL WriteTarget(const OperationFiles& files, const void* bytes, UINT count) {
    return _lwrite(files.target, bytes, count) == count;
}

void FailOperation(OperationFiles* files) {
    const bool restored = !files->canCutBack || CutTargetTo(*files, files->targetStart);
    ShowMessage(nullptr, kMsgReadWriteError, kCaptionError, g_bMsgEnglish);
    if (!restored) {
        // The user must not take the target for what it was.
        ShowMessage(nullptr, kMsgIncompleteAppend, kCaptionError, g_bMsgEnglish);
    }
    CloseBoth(files);
}

BOOL CloseOperationFiles(OperationFiles* files) {
    if (!FlushFile(files->target)) {
        FailOperation(files);
        return FALSE;
    }
    CloseBoth(files);
    return TRUE;
}

}  // namespace sif
