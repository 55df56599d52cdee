// The window backend on Win32 itself: dialogs from the program's compiled
// templates, Windows' own message loop, boxes and file dialog. Our handles
// are the Win32 window handles.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "platform/framework/window_backend.h"

namespace sif::win32 {

inline ::HWND ToWin32(HWND handle) {
    return reinterpret_cast<::HWND>(handle);
}
inline HWND FromWin32(::HWND window) {
    return reinterpret_cast<HWND>(window);
}

class Win32WindowBackend : public WindowBackend {
  public:
    Win32WindowBackend();
    ~Win32WindowBackend() override;

    HWND CreateDialogWindow(const res::DialogResource& dialog, HWND owner) override;
    void DestroyWindow(HWND window) override;
    void ShowWindow(HWND window, int showCommand) override;
    bool IsWindowVisible(HWND window) const override;
    void EnableWindow(HWND window, bool enable) override;
    bool IsWindowEnabled(HWND window) const override;
    HWND GetDlgItem(HWND dialog, int id) const override;
    std::string GetWindowTextA(HWND window) const override;
    bool IsWindowTextExact(HWND window) const override;
    void SetWindowTextA(HWND window, const std::string& text) override;
    std::string GetWindowFileName(HWND window) const override;
    void SetWindowFileName(HWND window, const std::string& fileName) override;
    int GetCheck(HWND button) const override;
    void SetCheck(HWND button, int state) override;
    void SetWindowSize(HWND window, int width, int height) override;
    void SetButtonBitmaps(HWND button, const ButtonBitmaps& bitmaps) override;
    void FocusFirstTabStop(HWND dialog) override;
    void SetDialogColors(COLORREF background, COLORREF text) override;
    // SetInterfaceLanguage keeps its default: Windows' own boxes and file
    // dialog speak the language of Windows.
    int RunMessageLoop() override;
    void PostQuitMessage(int exitCode) override;
    void RunModalLoop(HWND dialog) override;
    void EndModalLoop(HWND dialog) override;
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) override;

  private:
    static INT_PTR CALLBACK DialogProc(::HWND dialog, UINT message, ::WPARAM wParam,
                                       ::LPARAM lParam);
    INT_PTR OnMessage(::HWND dialog, UINT message, ::WPARAM wParam, ::LPARAM lParam);
    bool DrawButton(const DRAWITEMSTRUCT& item);
    // A message of one of our dialogs goes through its keyboard handling.
    bool IsOurDialogMessage(MSG& message) const;

    std::map<::HWND, ButtonBitmaps> bitmaps_;
    HBRUSH background_ = nullptr;
    COLORREF backgroundColor_ = 0;
    COLORREF textColor_ = 0;
    bool quitPosted_ = false;
    int quitCode_ = 0;
    ::HWND modalDialog_ = nullptr;
    bool modalEnded_ = false;
};

}  // namespace sif::win32
