#include "engine/line_target.h"

#include "engine/language.h"
#include "engine/messages.h"
#include "platform/message_box.h"

namespace sif {

namespace {

// Output is written once this much has gathered.
constexpr std::size_t kWriteAt = 128 * 1024;

}  // namespace

LineTarget::LineTarget(OperationFiles* files, std::size_t room)
    : files_(files),
      buffer_(std::make_unique_for_overwrite<char[]>(kWriteAt + room)),
      out_{buffer_.get(), 0, kWriteAt},
      gather_(MessageBoxesGather()) {}

void LineTarget::ShowNotice() {
    ShowMessage(nullptr, kMsgLineTooLong, kCaptionError, g_bMsgEnglish);
}

BOOL LineTarget::NoticeLineTooLong() {
    if (gather_) {
        waiting_[waitingCount_++] = out_.size;
        return waitingCount_ < kMaxWaiting || Write();
    }
    // The target holds what writes line by line would have left when the
    // box shows; a write that fails ends the run instead of the box.
    if (!Write()) {
        return FALSE;
    }
    if (!FlushFile(files_->target)) {
        FailOperation(files_);
        return FALSE;
    }
    ShowNotice();
    return TRUE;
}

BOOL LineTarget::Write() {
    if (waitingCount_ > 0) {
        return WriteNoticeByNotice();
    }
    if (out_.size > 0 && !WriteTarget(*files_, out_.data, static_cast<UINT>(out_.size))) {
        FailOperation(files_);
        return FALSE;
    }
    out_.size = 0;
    return TRUE;
}

BOOL LineTarget::WriteNoticeByNotice() {
    const std::size_t count = waitingCount_;
    waitingCount_ = 0;
    const UINT size = static_cast<UINT>(out_.size);
    out_.size = 0;
    // Where the target ends before this write, counted in the file's bytes:
    // a UTF-16 target takes more bytes than it is given.
    const INT64 before = _llseek(files_->target, 0, FILE_CURRENT);
    if (before < 0 && files_->canCutBack) {
        FailOperation(files_);
        return FALSE;
    }
    if (WriteTarget(*files_, out_.data, size) && FlushFile(files_->target)) {
        for (std::size_t i = 0; i < count; ++i) {
            ShowNotice();
        }
        return TRUE;
    }
    // Some of it did not go: take it back and write it again as writes line
    // by line would have gone, up to each notice, so that the notices after
    // the failing write are never shown.
    if (!files_->canCutBack || !CutTargetTo(*files_, before)) {
        // Writing the parts again after an uncut tail would double them.
        FailOperation(files_);
        return FALSE;
    }
    std::size_t from = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const UINT part = static_cast<UINT>(waiting_[i] - from);
        if (!WriteTarget(*files_, out_.data + from, part) || !FlushFile(files_->target)) {
            FailOperation(files_);
            return FALSE;
        }
        from = waiting_[i];
        ShowNotice();
    }
    if (!WriteTarget(*files_, out_.data + from, static_cast<UINT>(size - from))) {
        FailOperation(files_);
        return FALSE;
    }
    return TRUE;
}

}  // namespace sif
