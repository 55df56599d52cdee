// A message-box sink for the fuzzers: nothing is shown or printed; each box
// is logged with its catalogue id and the size of the target while it shows.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace sif::fuzz {

struct LoggedBox {
    UINT id;               // German catalogue id; 0 for a text not in it
    long long targetSize;  // -1 while there is no target
};

class BoxLog : public MessageBoxSink {
  public:
    BoxLog(std::string target, bool gathers);
    ~BoxLog() override;
    BoxLog(const BoxLog&) = delete;
    BoxLog& operator=(const BoxLog&) = delete;

    int Show(HWND owner, const char* text, const char* caption, UINT type) override;
    bool Gathers() const override { return gathers_; }

    const std::vector<LoggedBox>& boxes() const { return boxes_; }
    int Count(UINT id) const;

  private:
    std::string target_;
    bool gathers_;
    MessageBoxSink* previous_;
    std::vector<LoggedBox> boxes_;
};

}  // namespace sif::fuzz
