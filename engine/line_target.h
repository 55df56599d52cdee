// The line operation's way to the target: filtered output gathers in one
// buffer and goes out in large writes. A "line too long" notice needs the
// output before it written first; when the message sink gathers its boxes
// anyway, the notices wait for the next large write instead of costing a
// write each, and a write that fails is redone notice by notice, so the
// notices shown are exactly those that writes line by line would have let
// through.
#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "engine/line_scanner.h"
#include "engine/operation_files.h"

namespace sif {

class LineTarget {
  public:
    // `room`: what one piece's output may need behind the buffer's fill mark.
    LineTarget(OperationFiles* files, std::size_t room);

    LineOutput* output() { return &out_; }

    // A "line too long" notice at this point of the output. FALSE when the
    // output before it could not be written: the operation has failed then.
    BOOL NoticeLineTooLong();

    // Writes the gathered output and shows the notices that waited for it.
    // FALSE when a write failed: the operation has failed then.
    BOOL Write();

  private:
    BOOL WriteNoticeByNotice();
    void ShowNotice();

    // Notices that may wait before a write is forced.
    static constexpr std::size_t kMaxWaiting = 1024;

    OperationFiles* files_;
    std::unique_ptr<char[]> buffer_;
    LineOutput out_;
    bool gather_;
    std::array<std::size_t, kMaxWaiting> waiting_{};  // output before each notice
    std::size_t waitingCount_ = 0;
};

}  // namespace sif
