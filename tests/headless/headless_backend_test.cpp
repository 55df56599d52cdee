// The headless backend behaves as a user sees a dialog: clicks reach only
// what is shown and enabled, automatic buttons change before the command
// arrives, and a handle is dead once its window is destroyed.
#include "platform/headless/headless_window_backend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/dialog.h"
#include "platform/message_box.h"
#include "platform/window_styles.h"

namespace sif::test {
namespace {

constexpr unsigned kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

// Two radio groups, a check box, a push button and a field.
const res::ControlResource kControls[] = {
    {"CONTROL", "Button", "A", 11, kChild | WS_GROUP | BS_AUTORADIOBUTTON, 0, 0, 0, 10, 10, 0},
    {"CONTROL", "Button", "B", 12, kChild | BS_AUTORADIOBUTTON, 0, 0, 0, 10, 10, 0},
    {"CONTROL", "Button", "C", 13, kChild | WS_GROUP | BS_AUTORADIOBUTTON, 0, 0, 0, 10, 10, 0},
    {"CONTROL", "Button", "D", 14, kChild | BS_AUTOCHECKBOX, 0, 0, 0, 10, 10, 0},
    {"PUSHBUTTON", "Button", "Go", 15, kChild | BS_PUSHBUTTON, 0, 0, 0, 10, 10, 0},
    {"EDITTEXT", "Edit", "", 16, kChild, 0, 0, 0, 10, 10, 0},
};
const res::DialogResource kDialog = {
    900, 0, 0, 100, 100, WS_POPUP, "Probe", "MS Sans Serif", 8, kControls, std::size(kControls)};

// Records the commands it hears.
class ProbeWnd : public CWnd {
  public:
    std::vector<int> commands;
    BOOL OnCmdMsg(UINT id, UINT code) override {
        if (code == BN_CLICKED)
            commands.push_back(static_cast<int>(id));
        return TRUE;
    }
};

class HeadlessBackendTest : public testing::Test {
  protected:
    HeadlessBackendTest() {
        dialog_ = backend_.CreateDialogWindow(kDialog, nullptr);
        probe_.Attach(dialog_);
        backend_.ShowWindow(dialog_, SW_SHOW);
    }
    HWND Item(int id) { return backend_.GetDlgItem(dialog_, id); }

    headless::HeadlessWindowBackend backend_;
    ScopedWindowBackend installed_{backend_};
    HWND dialog_ = nullptr;
    ProbeWnd probe_;
};

TEST_F(HeadlessBackendTest, AutomaticButtonsChangeBeforeTheCommand) {
    backend_.Click(Item(12));
    backend_.Click(Item(13));
    backend_.Click(Item(11));  // takes the check from 12, not from 13 of the next group
    backend_.Click(Item(14));
    EXPECT_EQ(probe_.commands, (std::vector<int>{12, 13, 11, 14}));
    EXPECT_EQ(backend_.GetCheck(Item(11)), BST_CHECKED);
    EXPECT_EQ(backend_.GetCheck(Item(12)), BST_UNCHECKED);
    EXPECT_EQ(backend_.GetCheck(Item(13)), BST_CHECKED);
    EXPECT_EQ(backend_.GetCheck(Item(14)), BST_CHECKED);
    backend_.Click(Item(14));
    EXPECT_EQ(backend_.GetCheck(Item(14)), BST_UNCHECKED);
    EXPECT_EQ(backend_.GetFocus(), Item(14));
}

TEST_F(HeadlessBackendTest, ClicksReachOnlyWhatIsShownAndEnabled) {
    backend_.EnableWindow(Item(15), false);
    backend_.Click(Item(15));
    backend_.EnableWindow(Item(15), true);
    backend_.ShowWindow(Item(15), SW_HIDE);
    backend_.Click(Item(15));
    backend_.ShowWindow(Item(15), SW_SHOW);
    backend_.EnableWindow(dialog_, false);  // as under a modal dialog
    backend_.Click(Item(15));
    backend_.Cancel(dialog_);
    EXPECT_TRUE(probe_.commands.empty());
    backend_.EnableWindow(dialog_, true);
    backend_.Click(Item(15));
    backend_.Click(Item(16));  // an edit field sends no click
    backend_.Cancel(dialog_);
    EXPECT_EQ(probe_.commands, (std::vector<int>{15, IDCANCEL}));
}

TEST_F(HeadlessBackendTest, TextsKeepWhatTheCodePageLacks) {
    backend_.Type(Item(16), "\xE2\x82\xAC \xE2\x86\x92");  // euro sign, arrow
    EXPECT_EQ(backend_.GetWindowTextA(Item(16)), "\x80 ?");
    EXPECT_FALSE(backend_.IsWindowTextExact(Item(16)));
    backend_.SetWindowTextA(Item(16), "\x80");
    EXPECT_EQ(backend_.TextUtf8(Item(16)), "\xE2\x82\xAC");
    EXPECT_TRUE(backend_.IsWindowTextExact(Item(16)));
}

TEST_F(HeadlessBackendTest, FocusGoesToTheFirstTabStopShown) {
    backend_.ShowWindow(Item(11), SW_HIDE);
    backend_.FocusFirstTabStop(dialog_);
    EXPECT_EQ(backend_.GetFocus(), Item(12));
}

TEST_F(HeadlessBackendTest, DestroyedHandlesFindNothing) {
    HWND field = Item(16);
    backend_.Type(field, "kept?");
    backend_.DestroyWindow(dialog_);
    EXPECT_EQ(probe_.GetSafeHwnd(), nullptr);  // detached
    EXPECT_EQ(backend_.GetDlgItem(dialog_, 16), nullptr);
    EXPECT_EQ(backend_.TextUtf8(field), "");
    EXPECT_FALSE(backend_.IsWindowVisible(dialog_));
    EXPECT_EQ(backend_.GetFocus(), nullptr);
}

TEST_F(HeadlessBackendTest, BoxesAndFileChoicesGoThroughTheInstalledBackend) {
    EXPECT_EQ(MessageBoxA(dialog_, "text", "caption", MB_OK), IDOK);
    EXPECT_EQ(backend_.shownBoxes(),
              (std::vector<headless::ShownBox>{{dialog_, "caption", "text"}}));
    OpenFileRequest request;
    request.filters = {{"Text", "*.txt"}};
    EXPECT_FALSE(GetOpenFileNameA(request).has_value());  // cancelled
    ASSERT_EQ(backend_.fileRequests().size(), 1u);
    EXPECT_EQ(backend_.fileRequests()[0].filters, request.filters);
}

}  // namespace
}  // namespace sif::test
