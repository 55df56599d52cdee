// The Win32 backend on Windows' own windows (under Wine with a private X
// server): the main dialog from the templates linked into this program,
// clicked with BM_CLICK and read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/language.h"
#include "platform/framework/dialog.h"
#include "platform/win32/win32_window_backend.h"
#include "tests/support/recording_message_sink.h"
#include "ui/control_ids.h"
#include "ui/filter_dlg.h"

namespace {

using namespace sif::ui;

class Win32MainDialogTest : public testing::Test {
  protected:
    Win32MainDialogTest() {
        sif::g_bEnglish = 0;
        backend_.SetDialogColors(RGB(192, 192, 192), RGB(0, 0, 0));
        // A modal dialog here would wait for a user.
        sif::CDialog::SetModalHook(
            [this](sif::CDialog& d) { modal_.push_back(d.GetTemplateId()); });
        dialog_ = std::make_unique<sif::CFilterDlg>(nullptr);
        window_ = sif::win32::ToWin32(dialog_->GetSafeHwnd());
        if (window_ != nullptr)
            ShowWindow(window_, SW_SHOWNORMAL);
    }
    ~Win32MainDialogTest() override {
        if (dialog_->GetSafeHwnd() != nullptr)
            dialog_->DestroyWindow();
        sif::CDialog::SetModalHook(nullptr);
        sif::g_bEnglish = 0;
    }

    void Click(int id) { SendMessageW(GetDlgItem(window_, id), BM_CLICK, 0, 0); }
    std::string Text(int id) {
        char text[128] = "";
        GetDlgItemTextA(window_, id, text, sizeof text);
        return text;
    }

    sif::win32::Win32WindowBackend backend_;
    sif::ScopedWindowBackend installed_{backend_};
    sif::test::RecordingMessageSink boxes_;  // boxes here would wait for a user
    std::vector<unsigned> modal_;
    std::unique_ptr<sif::CFilterDlg> dialog_;
    ::HWND window_ = nullptr;
};

TEST_F(Win32MainDialogTest, ComesFromTheTemplateWithTheCatalogueTexts) {
    ASSERT_NE(window_, nullptr) << "no main dialog from template 101";
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(Text(IDC_VIEW_SOURCE), "Ansicht");
    EXPECT_EQ(Text(IDC_LEFT), "\"");
    EXPECT_EQ(IsDlgButtonChecked(window_, IDC_MODE_POSITIVE), BST_CHECKED);
}

TEST_F(Win32MainDialogTest, ClicksReachTheHandlers) {
    ASSERT_NE(window_, nullptr);
    Click(IDC_MODE_NEGATIVE);
    EXPECT_EQ(IsDlgButtonChecked(window_, IDC_MODE_NEGATIVE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window_, IDC_MODE_POSITIVE), BST_UNCHECKED);
    Click(IDC_LANGUAGE);
    EXPECT_EQ(Text(IDC_VIEW_SOURCE), "View");
    Click(IDC_INFO);
    EXPECT_EQ(modal_.size(), 1u);
}

TEST_F(Win32MainDialogTest, OkWithoutNamesShowsAnErrorOwnedByTheDialog) {
    ASSERT_NE(window_, nullptr);
    SetDlgItemTextA(window_, IDC_SOURCE, "same.txt");
    SetDlgItemTextA(window_, IDC_TARGET, "same.txt");
    Click(IDOK);
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_EQ(boxes_.Lines()[0], "Fehlermeldung: Quelldatei == Zieldatei !");
    EXPECT_EQ(sif::win32::ToWin32(boxes_.boxes()[0].owner), window_);
}

}  // namespace
