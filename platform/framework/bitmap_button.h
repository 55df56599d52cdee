// CBitmapButton: an owner-drawn push button showing one of up to four
// bitmaps from the program's resources.
#pragma once

#include "platform/framework/bitmap_info.h"
#include "platform/framework/wnd.h"
#include "platform/resource_data.h"

namespace sif {

enum class ButtonPicture { Up, Down, Focus, Disabled };

// The picture a bitmap button shows: pressed -> down, else focused -> focus,
// else disabled -> disabled, each only when loaded; otherwise up.
ButtonPicture ChooseButtonPicture(bool pressed, bool focused, bool disabled, bool haveDown,
                                  bool haveFocus, bool haveDisabled);

class CBitmapButton : public CWnd {
  public:
    // Loads the named bitmaps (names match without regard to case), replacing
    // all held before; a null name is skipped. FALSE when a named bitmap is
    // missing or damaged, or there is no up bitmap.
    BOOL LoadBitmaps(const char* up, const char* down = nullptr, const char* focus = nullptr,
                     const char* disabled = nullptr);
    // Resizes the button to its up bitmap without moving it.
    void SizeToContent();

    const BitmapInfo& GetUpBitmapInfo() const { return m_upInfo; }

  protected:
    void PreSubclassWindow() override;

  private:
    void HandBitmapsToWindow();

    const res::BinaryResource* m_bitmap = nullptr;
    const res::BinaryResource* m_bitmapSel = nullptr;
    const res::BinaryResource* m_bitmapFocus = nullptr;
    const res::BinaryResource* m_bitmapDisabled = nullptr;
    BitmapInfo m_upInfo{0, 0, 0};
};

}  // namespace sif
