#include "engine/messages.h"

#include "platform/message_box.h"
#include "platform/resources.h"

namespace sif {

namespace {

// Large enough that every catalogue text is shown whole.
constexpr int kMessageBufferSize = 256;

}  // namespace

int ShowMessage(HWND owner, UINT textId, UINT captionId, int english) {
    if (english == 1) {
        textId += kEnglishOffset;
        captionId += kEnglishOffset;
    }
    char text[kMessageBufferSize];
    char caption[kMessageBufferSize];
    LoadStringA(AfxGetResourceHandle(), textId, text, kMessageBufferSize);
    LoadStringA(AfxGetResourceHandle(), captionId, caption, kMessageBufferSize);
    return MessageBoxA(owner, text, caption, MB_OK);
}

}  // namespace sif
