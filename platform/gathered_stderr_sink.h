// Message boxes as "caption: text" lines on stderr, gathered and written in
// large writes: a run with thousands of notices costs a handful of system
// calls. The termination-signal handler writes what has gathered before its
// own line, so the lines keep their order.
#pragma once

#include "platform/message_box.h"

namespace sif {

class GatheredStderrSink : public MessageBoxSink {
  public:
    ~GatheredStderrSink() override;

    int Show(HWND owner, const char* text, const char* caption, UINT type) override;
    bool Gathers() const override { return true; }

    // Writes what has gathered. False when this write or one since the last
    // Flush failed.
    bool Flush();
};

// Writes the gathered lines; safe inside a signal handler.
void WriteGatheredStderrLinesFromSignal();

}  // namespace sif
