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
    // gathers: claim to gather boxes, as the command line's stderr lines do.
    explicit RecordingMessageSink(bool gathers = false);
    ~RecordingMessageSink() override;

    int Show(HWND owner, const char* text, const char* caption, UINT type) override;
    bool Gathers() const override { return gathers_; }

    const std::vector<RecordedBox>& boxes() const { return boxes_; }
    // "caption: text" per box, the form the command line prints.
    std::vector<std::string> Lines() const;
    void Clear() { boxes_.clear(); }

  private:
    bool gathers_;
    MessageBoxSink* previous_;
    std::vector<RecordedBox> boxes_;
};

}  // namespace sif::test
