// The seam between the framework classes and a window toolkit: windows,
// loops, message boxes and file choosing. The framework speaks only through
// this interface; a backend (platform/qt, platform/win32, platform/headless)
// implements it, maps the opaque handles to its own windows, and reports user
// actions back through the Dispatch functions below.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/framework/afx_types.h"
#include "platform/framework/file_dialog.h"
#include "platform/resource_data.h"

namespace sif {

// The pictures of an owner-drawn bitmap button, as BMP file bytes; a null
// `data` means the picture is not loaded.
struct ButtonBitmaps {
    struct Picture {
        const unsigned char* data = nullptr;
        std::size_t size = 0;
    };
    Picture up;
    Picture down;
    Picture focus;
    Picture disabled;

    // The picture for a button's state, as ChooseButtonPicture picks it.
    const Picture& For(bool pressed, bool focused, bool isDisabled) const;
};

// A backend states what its toolkit does; the rest has a default here, as a
// toolkit without that feature would behave. The first group is what every
// backend must provide.
class WindowBackend {
  public:
    virtual ~WindowBackend() = default;

    // --- windows: every backend ---

    // A dialog and its controls from a template, not yet visible even when the
    // template says WS_VISIBLE (the framework shows it after OnInitDialog).
    // `owner` may be null. Null when the window cannot be made.
    virtual HWND CreateDialogWindow(const res::DialogResource& dialog, HWND owner) = 0;
    // Reports WM_DESTROY through DispatchDestroy, then releases the window;
    // the handle and those of its controls are invalid afterwards.
    virtual void DestroyWindow(HWND window) = 0;

    virtual void ShowWindow(HWND window, int showCommand) = 0;
    virtual bool IsWindowVisible(HWND window) const = 0;
    virtual void EnableWindow(HWND window, bool enable) = 0;
    virtual bool IsWindowEnabled(HWND window) const = 0;

    // The control `id` of a dialog, or null.
    virtual HWND GetDlgItem(HWND dialog, int id) const = 0;
    // Single-byte (Windows-1252) text; a character the code page lacks reads
    // as '?'. The A names, which <windows.h> turns the plain ones into.
    virtual std::string GetWindowTextA(HWND window) const = 0;
    virtual void SetWindowTextA(HWND window, const std::string& text) = 0;
    virtual int GetCheck(HWND button) const = 0;
    virtual void SetCheck(HWND button, int state) = 0;

    // Pixels. Resizes without moving, restacking, redrawing or activating.
    virtual void SetWindowSize(HWND window, int width, int height) = 0;

    // --- windows: where the toolkit has more than single-byte text ---

    // FALSE when the text holds a character that the code page lacks; text
    // kept in the code page always is exact.
    virtual bool IsWindowTextExact(HWND window) const;
    // The text as a file name in the platform's file-name encoding; by
    // default that is the code page.
    virtual std::string GetWindowFileName(HWND window) const;
    virtual void SetWindowFileName(HWND window, const std::string& fileName);

    // --- looks: nothing by default ---

    // Makes the control draw itself from these pictures (owner-drawn
    // buttons); without, the button shows its text.
    virtual void SetButtonBitmaps(HWND button, const ButtonBitmaps& bitmaps);
    // Gives the keyboard focus to the first control that takes it by Tab.
    virtual void FocusFirstTabStop(HWND dialog);
    // Colours behind and of the text of every dialog created afterwards.
    virtual void SetDialogColors(COLORREF background, COLORREF text);
    // The language of the program's own texts, as an ISO 639-1 code ("de",
    // "en"). A backend makes the toolkit's texts (the buttons of boxes, the
    // file dialog) speak it where the toolkit has them in that language.
    virtual void SetInterfaceLanguage(const std::string& languageCode);

    // --- services: by default, those of a toolkit without a user ---

    // Runs until PostQuitMessage; returns its exit code. By default there
    // are no user events: it returns at once, with the code posted last (0
    // when none was).
    virtual int RunMessageLoop();
    virtual void PostQuitMessage(int exitCode);
    // Shows `dialog` modally and returns after EndModalLoop(dialog); by
    // default at once.
    virtual void RunModalLoop(HWND dialog);
    virtual void EndModalLoop(HWND dialog);

    // A box with an OK button over `owner` (may be null), single-byte texts;
    // returns the button pressed (IDOK). By default a "caption: text" line
    // on stderr.
    virtual int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
    // The chosen existing file's full path in the file-name encoding;
    // nothing when the user cancels or the dialog fails. By default nothing.
    virtual std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request);

  private:
    int postedQuitCode_ = 0;
};

// Installs the backend for windows, loops, boxes (MessageBoxA) and file
// choosing (GetOpenFileNameA) at once; null uninstalls it. A message-box
// sink installed later, such as a test's recorder, still comes first.
void SetWindowBackend(WindowBackend* backend);
// The backend in use; null until one is installed (then windows cannot be made).
WindowBackend* GetWindowBackend();

// Installs a backend for its own lifetime.
class ScopedWindowBackend {
  public:
    explicit ScopedWindowBackend(WindowBackend& backend) { SetWindowBackend(&backend); }
    ~ScopedWindowBackend() { SetWindowBackend(nullptr); }
    ScopedWindowBackend(const ScopedWindowBackend&) = delete;
    ScopedWindowBackend& operator=(const ScopedWindowBackend&) = delete;
};

// Called by the backend on user actions. A click arrives as (control id,
// BN_CLICKED); Escape and the close box as (IDCANCEL, BN_CLICKED).
void DispatchCommand(HWND dialog, int id, UINT notification);
// WM_DESTROY of a window that is about to go.
void DispatchDestroy(HWND window);
// The handle is gone: objects attached to it are detached.
void DispatchDetach(HWND window);

}  // namespace sif
