// Message boxes without a window: one "caption: text" line per box on stderr.
#pragma once

#include "platform/message_box.h"

namespace sif {

class StderrMessageSink : public MessageBoxSink {
  public:
    int Show(HWND owner, const char* text, const char* caption, UINT type) override;
};

}  // namespace sif
