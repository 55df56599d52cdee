// Message boxes. Every box goes through one replaceable sink: the window
// backend shows real boxes, the command line prints a line, tests record.
#pragma once

#include "platform/win_types.h"

#ifdef _WIN32
static_assert(MB_OK == 0x0000);
#else
namespace sif {
inline constexpr UINT MB_OK = 0x0000;
}
#endif

namespace sif {

class MessageBoxSink {
  public:
    virtual ~MessageBoxSink() = default;
    virtual int Show(HWND owner, const char* text, const char* caption, UINT type) = 0;

    // True when shown boxes only gather, to appear later all together: no one
    // sees a box at the moment it is shown, so a caller may write its output
    // and the boxes that go with it in batches.
    virtual bool Gathers() const { return false; }
};

// Installs the sink; returns the previous one. nullptr restores the default,
// which writes "caption: text" lines to stderr.
MessageBoxSink* SetMessageBoxSink(MessageBoxSink* sink);

// Whether the installed sink gathers its boxes.
bool MessageBoxesGather();

// Flushes buffered file output first, so that what files hold while the box is
// open is what unbuffered writes would have left.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

}  // namespace sif
