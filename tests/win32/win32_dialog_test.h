// A fixture for tests on Windows' own windows: the Win32 backend installed,
// German at the start and again afterwards, the main dialog made from
// template 101 and shown, boxes recorded (or shown by Windows) and modal
// runs handed to a hook.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/framework/dialog.h"
#include "platform/win32/win32_window_backend.h"
#include "tests/support/recording_message_sink.h"
#include "ui/filter_dlg.h"

namespace sif::test {

class Win32DialogTest : public testing::Test {
  protected:
    // realBoxes: boxes are Windows' own, which a test must answer.
    explicit Win32DialogTest(bool realBoxes = false);
    ~Win32DialogTest() override;

    ::HWND Main() const { return window_; }
    CFilterDlg& dlg() { return *dialog_; }
    const RecordingMessageSink& boxes() const { return *boxes_; }
    const std::vector<unsigned>& modalTemplates() const { return modal_; }
    // Runs for every modal dialog instead of its loop, the dialog made.
    void OnModal(std::function<void(::HWND)> handler) { onModal_ = std::move(handler); }

    // A BM_CLICK on a control of the main dialog, as a user's click.
    void Click(int id) { ClickIn(window_, id); }
    static void ClickIn(::HWND dialog, int id);
    // A control's text as the program reads it, and a field's as a user types.
    std::string Text(int id) const { return TextOf(GetDlgItem(window_, id)); }
    std::string TextOf(::HWND control) const;
    void Type(int id, const char* text) { SetDlgItemTextA(window_, id, text); }
    bool Checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }

  private:
    win32::Win32WindowBackend backend_;
    ScopedWindowBackend installed_{backend_};
    std::optional<RecordingMessageSink> boxes_;  // a real box waits for a user
    std::vector<unsigned> modal_;
    std::function<void(::HWND)> onModal_;
    std::unique_ptr<CFilterDlg> dialog_;
    ::HWND window_ = nullptr;
};

// The children of a dialog in template order.
std::vector<::HWND> Children(::HWND dialog);

}  // namespace sif::test
