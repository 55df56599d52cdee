#include "tests/win32/win32_dialog_test.h"

#include "engine/language.h"

namespace sif::test {

Win32DialogTest::Win32DialogTest(bool realBoxes) {
    if (!realBoxes)
        boxes_.emplace();
    g_bEnglish = 0;
    backend_.SetDialogColors(RGB(192, 192, 192), RGB(0, 0, 0));
    CDialog::SetModalHook([this](CDialog& d) {
        modal_.push_back(d.GetTemplateId());
        if (onModal_)
            onModal_(win32::ToWin32(d.GetSafeHwnd()));
    });
    dialog_ = std::make_unique<CFilterDlg>(nullptr);
    window_ = win32::ToWin32(dialog_->GetSafeHwnd());
    if (window_ != nullptr)
        ShowWindow(window_, SW_SHOWNORMAL);
}

Win32DialogTest::~Win32DialogTest() {
    if (dialog_->GetSafeHwnd() != nullptr)
        dialog_->DestroyWindow();
    // The main dialog's end posts WM_QUIT, which would end the next test's
    // modal loop at once.
    MSG quit{};
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CDialog::SetModalHook(nullptr);
    g_bEnglish = 0;
}

void Win32DialogTest::ClickIn(::HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::string Win32DialogTest::TextOf(::HWND control) const {
    return backend_.GetWindowTextA(win32::FromWin32(control));
}

std::vector<::HWND> Children(::HWND dialog) {
    std::vector<::HWND> children;
    for (::HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

}  // namespace sif::test
