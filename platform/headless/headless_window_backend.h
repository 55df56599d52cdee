// A window backend without a display: dialogs and their controls as records
// in memory, with their texts, check states, visibility, enabling and focus,
// as a dummy video driver keeps a screen. Tests drive it as a user would
// (Click, Type) and read back what a user would see; boxes and the file
// dialog are answered at once (OK, cancel) and recorded. There are no user
// events, so the loops are the defaults that return at once; nothing is
// drawn, so colours are not kept. Runs on every platform.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/framework/window_backend.h"

namespace sif::headless {

struct ShownBox {
    HWND owner;
    std::string caption;
    std::string text;

    bool operator==(const ShownBox&) const = default;
};

class HeadlessWindowBackend : public WindowBackend {
  public:
    HeadlessWindowBackend();
    ~HeadlessWindowBackend() override;

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
    // Kept for interfaceLanguage(); nothing here has texts of its own.
    void SetInterfaceLanguage(const std::string& languageCode) override;
    // Recorded in shownBoxes(); answered with IDOK.
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    // Recorded in fileRequests(); cancelled, as no user is there to choose.
    std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) override;

    // --- what a user does ---
    // A mouse click: nothing when the control or its dialog is hidden or
    // disabled. Otherwise the control takes the focus, an automatic check
    // box toggles, an automatic radio button takes the check from the
    // others of its group, and the dialog hears (id, BN_CLICKED).
    void Click(HWND control);
    // Escape, or the close box: the dialog hears (IDCANCEL, BN_CLICKED).
    void Cancel(HWND dialog);
    // Replaces the text as typing does; UTF-8, so it may hold characters
    // that the dialog code page lacks.
    void Type(HWND control, const std::string& utf8);

    // --- what a user sees ---
    std::string TextUtf8(HWND window) const;
    HWND GetFocus() const { return focus_; }
    const ButtonBitmaps* BitmapsOf(HWND button) const;
    // Pixels, as SetWindowSize left them; 0 before.
    int Width(HWND window) const;
    int Height(HWND window) const;
    const std::vector<ShownBox>& shownBoxes() const { return shownBoxes_; }
    const std::vector<OpenFileRequest>& fileRequests() const { return fileRequests_; }
    // The last language told; empty before.
    const std::string& interfaceLanguage() const { return interfaceLanguage_; }

    // What a handle stands for here; defined beside the backend.
    struct Window;

  private:
    Window* Find(HWND window) const;
    void Destroy(Window& window);

    std::vector<std::unique_ptr<Window>> dialogs_;
    HWND focus_ = nullptr;
    std::vector<ShownBox> shownBoxes_;
    std::vector<OpenFileRequest> fileRequests_;
    std::string interfaceLanguage_;
};

}  // namespace sif::headless
