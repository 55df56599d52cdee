#include "platform/framework/bitmap_button.h"

#include "platform/framework/window_backend.h"
#include "platform/resources.h"

namespace sif {
namespace {

// Loads one named bitmap into `slot`; a null name leaves the slot as it is.
bool LoadOne(const char* name, const res::BinaryResource*& slot, BitmapInfo* info) {
    if (name == nullptr)
        return true;
    slot = nullptr;
    const res::BinaryResource* found = FindBitmapResource(name);
    BitmapInfo parsed{0, 0, 0};
    if (found == nullptr || !ReadBitmapInfo(found->data, found->size, &parsed))
        return false;
    slot = found;
    if (info != nullptr)
        *info = parsed;
    return true;
}

ButtonBitmaps::Picture PictureOf(const res::BinaryResource* bitmap) {
    if (bitmap == nullptr)
        return {};
    return ButtonBitmaps::Picture{bitmap->data, bitmap->size};
}

}  // namespace

ButtonPicture ChooseButtonPicture(bool pressed, bool focused, bool disabled, bool haveDown,
                                  bool haveFocus, bool haveDisabled) {
    if (pressed && haveDown)
        return ButtonPicture::Down;
    if (focused && haveFocus)
        return ButtonPicture::Focus;
    if (disabled && haveDisabled)
        return ButtonPicture::Disabled;
    return ButtonPicture::Up;
}

const ButtonBitmaps::Picture& ButtonBitmaps::For(bool pressed, bool focused,
                                                 bool isDisabled) const {
    switch (ChooseButtonPicture(pressed, focused, isDisabled, down.data != nullptr,
                                focus.data != nullptr, disabled.data != nullptr)) {
        case ButtonPicture::Down:
            return down;
        case ButtonPicture::Focus:
            return focus;
        case ButtonPicture::Disabled:
            return disabled;
        case ButtonPicture::Up:
            break;
    }
    return up;
}

BOOL CBitmapButton::LoadBitmaps(const char* up, const char* down, const char* focus,
                                const char* disabled) {
    // Whatever was held before goes, also for the names that are null now.
    m_bitmap = m_bitmapSel = m_bitmapFocus = m_bitmapDisabled = nullptr;
    m_upInfo = BitmapInfo{0, 0, 0};
    bool ok = LoadOne(up, m_bitmap, &m_upInfo);
    ok = LoadOne(down, m_bitmapSel, nullptr) && ok;
    ok = LoadOne(focus, m_bitmapFocus, nullptr) && ok;
    ok = LoadOne(disabled, m_bitmapDisabled, nullptr) && ok;
    if (m_bitmap == nullptr)
        ok = false;
    HandBitmapsToWindow();
    return ok ? TRUE : FALSE;
}

void CBitmapButton::SizeToContent() {
    WindowBackend* backend = GetWindowBackend();
    if (m_hWnd == nullptr || backend == nullptr || m_bitmap == nullptr)
        return;
    backend->SetWindowSize(m_hWnd, m_upInfo.width, m_upInfo.height);
}

void CBitmapButton::PreSubclassWindow() {
    HandBitmapsToWindow();
}

void CBitmapButton::HandBitmapsToWindow() {
    WindowBackend* backend = GetWindowBackend();
    if (m_hWnd == nullptr || backend == nullptr)
        return;
    ButtonBitmaps bitmaps;
    bitmaps.up = PictureOf(m_bitmap);
    bitmaps.down = PictureOf(m_bitmapSel);
    bitmaps.focus = PictureOf(m_bitmapFocus);
    bitmaps.disabled = PictureOf(m_bitmapDisabled);
    backend->SetButtonBitmaps(m_hWnd, bitmaps);
}

}  // namespace sif
