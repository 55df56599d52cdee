// The window backend on Qt 6 Widgets.
#pragma once

#include <QFont>
#include <QPalette>
#include <memory>

#include "platform/framework/dialog_units.h"
#include "platform/framework/window_backend.h"
#include "platform/qt/qt_translations.h"

namespace sif::qt {

class DialogWindow;
class InputBlocker;

class QtWindowBackend : public WindowBackend {
  public:
    QtWindowBackend();
    ~QtWindowBackend() override;

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
    void SetInterfaceLanguage(const std::string& languageCode) override;
    int RunMessageLoop() override;
    void PostQuitMessage(int exitCode) override;
    void RunModalLoop(HWND dialog) override;
    void EndModalLoop(HWND dialog) override;
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) override;

    // Pixels; controls relative to their dialog's client area, dialogs on
    // the screen (client area).
    RECT GetWindowRect(HWND window) const;
    // The base units the dialog's font gives.
    DialogBaseUnits GetDialogBaseUnits(HWND dialog) const;

    // The font a template asks for, or the closest one installed.
    static QFont DialogFont(const char* family, int pointSize);
    // The backend's view of PostQuitMessage, for tests that run no loop.
    bool QuitPosted() const { return quitPosted_; }
    int QuitCode() const { return quitCode_; }
    void ClearQuit() { quitPosted_ = false; }

  private:
    std::unique_ptr<InputBlocker> inputBlocker_;
    QtTranslations translations_;
    QPalette dialogPalette_;
    QFont lastDialogFont_;  // for boxes without owner
    bool loopRunning_ = false;
    bool quitPosted_ = false;
    int quitCode_ = 0;
};

}  // namespace sif::qt
