// A fixture for window tests on the headless backend: a fresh temporary
// directory as the current one, German at the start and again afterwards,
// the main dialog open as the application shows it, modal dialogs recorded
// instead of run, and every box recorded by the backend.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/window_backend.h"
#include "platform/headless/headless_window_backend.h"
#include "tests/support/temp_dir.h"
#include "ui/filter_dlg.h"

namespace sif::test {

class HeadlessDialogTest : public testing::Test {
  protected:
    HeadlessDialogTest();
    ~HeadlessDialogTest() override;

    headless::HeadlessWindowBackend& backend() { return backend_; }
    CFilterDlg& dlg() { return *dialog_; }
    HWND Hwnd() const { return dialog_->GetSafeHwnd(); }
    HWND Item(int id) const { return backend_.GetDlgItem(Hwnd(), id); }
    const TempDir& dir() const { return dir_; }

    // As a user: a click, and a field's text replaced by typing (UTF-8).
    void Click(int id);
    void Type(int id, const std::string& utf8);
    // A field's text as the program reads it.
    std::string Text(int id) const;
    // "caption: text" per box shown so far.
    std::vector<std::string> BoxLines() const;
    const std::vector<unsigned>& modalTemplates() const { return modalTemplates_; }

  private:
    TempDir dir_;
    ScopedCurrentDir cwd_{dir_.path()};
    headless::HeadlessWindowBackend backend_;
    ScopedWindowBackend installed_{backend_};
    std::vector<unsigned> modalTemplates_;
    std::unique_ptr<CFilterDlg> dialog_;
};

}  // namespace sif::test
