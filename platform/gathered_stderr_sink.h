// Message boxes as "caption: text" lines on stderr, gathered and written in
// large writes: a run with thousands of notices costs a handful of system
// calls. The termination handler (a signal handler on POSIX, the console
// handler's thread on Windows) writes what has gathered before its own line,
// so the lines keep their order. platform/posix/ and platform/win32/ hold the
// two implementations.
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

// Writes the gathered lines once the append has been cut back; safe inside a
// signal handler and beside a main thread that goes on running.
void WriteGatheredStderrLinesOnTermination();

}  // namespace sif
