// A message-box sink for tests: records every box and answers OK at once.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace sif::test {

struct RecordedBox {
    std::string caption;
    std::string text;
    HWND owner;

    bool operator==(const RecordedBox&) const = default;
};

class RecordingMessageSink : public MessageBoxSink {
  public:
    RecordingMessageSink();
    ~RecordingMessageSink() override;

    int Show(HWND owner, const char* text, const char* caption, UINT type) override;

    const std::vector<RecordedBox>& boxes() const { return boxes_; }
    // "caption: text" per box, the form the command line prints.
    std::vector<std::string> Lines() const;
    void Clear() { boxes_.clear(); }

  private:
    MessageBoxSink* previous_;
    std::vector<RecordedBox> boxes_;
};

}  // namespace sif::test
