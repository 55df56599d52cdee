// Message boxes as real Qt boxes: application-modal, so no box of a run,
// owned or ownerless, lets the main dialog start another run meanwhile.
#pragma once

#include "platform/message_box.h"

namespace sif::qt {

class QtMessageSink : public MessageBoxSink {
  public:
    int Show(HWND owner, const char* text, const char* caption, UINT type) override;
};

}  // namespace sif::qt
