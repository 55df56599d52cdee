#include "tests/support/recording_message_sink.h"

namespace sif::test {

RecordingMessageSink::RecordingMessageSink(bool gathers)
    : gathers_(gathers), previous_(SetMessageBoxSink(this)) {}

RecordingMessageSink::~RecordingMessageSink() {
    SetMessageBoxSink(previous_);
}

int RecordingMessageSink::Show(HWND owner, const char* text, const char* caption, UINT) {
    boxes_.push_back({caption, text, owner});
    return IDOK;
}

std::vector<std::string> RecordingMessageSink::Lines() const {
    std::vector<std::string> lines;
    for (const RecordedBox& box : boxes_) {
        lines.push_back(box.caption + ": " + box.text);
    }
    return lines;
}

}  // namespace sif::test
