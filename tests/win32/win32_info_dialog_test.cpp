// The information boxes on Windows' own windows: template 100 (German) and
// 104 (English) as the main dialog's owned boxes, their texts, icon and
// size, and OK, Escape and the close box closing them, through the modal
// hook and in Windows' own modal loop.
#include <functional>
#include <string>
#include <vector>

#include "engine/language.h"
#include "platform/framework/win_app.h"
#include "tests/support/dialog_expectations.h"
#include "tests/win32/box_answerer.h"
#include "tests/win32/win32_dialog_test.h"
#include "ui/control_ids.h"
#include "ui/info_dlg.h"

namespace sif::test {
namespace {

using namespace ui;

// What an open box showed.
struct SeenBox {
    std::vector<std::string> lines;
    ::RECT icon{};
    ::RECT client{};
    ::RECT want{};  // the template's client size, as Windows maps it
    ::RECT wantIcon{};
    ::HWND owner = nullptr;
    bool ownerEnabled = true;
};

struct OwnedSearch {
    ::HWND owner, found;
};

BOOL CALLBACK MatchOwned(::HWND window, ::LPARAM param) {
    auto* search = reinterpret_cast<OwnedSearch*>(param);
    if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// The visible window that the given one owns, if any.
::HWND OwnedWindow(::HWND owner) {
    OwnedSearch search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchOwned, reinterpret_cast<::LPARAM>(&search));
    return search.found;
}

// What a timer of this thread runs: the modal loop under test dispatches it.
std::function<void()>* g_onTick = nullptr;
void CALLBACK Tick(::HWND, UINT, UINT_PTR, DWORD) {
    if (g_onTick != nullptr)
        (*g_onTick)();
}

bool IsIcon(::HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

class Win32InfoDialogTest : public Win32DialogTest {
  protected:
    void SetUp() override { ASSERT_NE(Main(), nullptr) << "no main dialog from template 101"; }

    // Records the box, then clicks its OK button.
    SeenBox RecordAndClickOk(::HWND box, bool english) {
        SeenBox seen;
        for (::HWND child : Children(box)) {
            if (IsIcon(child)) {
                GetWindowRect(child, &seen.icon);
                MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&seen.icon), 2);
            } else {
                seen.lines.push_back(TextOf(child));
            }
        }
        GetClientRect(box, &seen.client);
        seen.want = {0, 0, kInfoWidth, english ? kInfoEnglishHeight : kInfoGermanHeight};
        MapDialogRect(box, &seen.want);
        seen.wantIcon = {kInfoIconX, kInfoIconY, 0, 0};
        MapDialogRect(box, &seen.wantIcon);
        seen.owner = GetWindow(box, GW_OWNER);
        seen.ownerEnabled = IsWindowEnabled(Main()) != FALSE;
        ClickIn(box, IDOK);
        return seen;
    }

    void ExpectBox(const SeenBox& seen, bool english) {
        EXPECT_EQ(seen.lines, english ? kInfoEnglishLines : kInfoGermanLines);
        EXPECT_EQ(seen.client.right, seen.want.right);
        EXPECT_EQ(seen.client.bottom, seen.want.bottom);
        EXPECT_EQ(seen.icon.left, seen.wantIcon.left);
        EXPECT_EQ(seen.icon.top, seen.wantIcon.top);
        EXPECT_EQ(seen.icon.right - seen.icon.left, 32);
        EXPECT_EQ(seen.icon.bottom - seen.icon.top, 32);
        EXPECT_EQ(seen.owner, Main());
        EXPECT_FALSE(seen.ownerEnabled);  // the main dialog waits for the box
    }
};

TEST_F(Win32InfoDialogTest, EachLanguageShowsItsTemplateAndOkClosesIt) {
    CWinApp app;  // the main window owns boxes opened without a parent
    app.m_pMainWnd = &dlg();
    for (bool english : {false, true}) {
        SCOPED_TRACE(english ? "English" : "German");
        SeenBox seen;
        OnModal([&](::HWND box) { seen = RecordAndClickOk(box, english); });
        INT64 answer = english ? CInfoDlgEn().DoModal() : CInfoDlg().DoModal();
        EXPECT_EQ(answer, IDOK);
        ExpectBox(seen, english);
        EXPECT_TRUE(IsWindowEnabled(Main()));
    }
    EXPECT_EQ(modalTemplates(), (std::vector<unsigned>{IDD_INFO, IDD_INFO_EN}));
}

TEST_F(Win32InfoDialogTest, InfoRunsTheBoxInWindowsOwnModalLoop) {
    CDialog::SetModalHook(nullptr);
    CWinApp app;
    app.m_pMainWnd = &dlg();
    for (bool english : {false, true}) {
        SCOPED_TRACE(english ? "English" : "German");
        g_bEnglish = english ? 1 : 0;
        SeenBox seen;
        bool closed = false;
        const DWORD deadline = GetTickCount() + 10000;
        std::function<void()> onTick = [&] {
            if (closed)
                return;
            if (::HWND box = OwnedWindow(Main()); box != nullptr) {
                seen = RecordAndClickOk(box, english);
                closed = true;
            } else if (GetTickCount() > deadline) {
                ADD_FAILURE() << "no box opened within 10 s";
                closed = true;
                PostQuitMessage(1);  // ends the modal loop
            }
        };
        g_onTick = &onTick;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
        Click(IDC_INFO);
        KillTimer(nullptr, timer);
        g_onTick = nullptr;
        ASSERT_TRUE(closed);
        ExpectBox(seen, english);
        EXPECT_TRUE(IsWindowEnabled(Main()));
        EXPECT_EQ(OwnedWindow(Main()), nullptr) << "the box is still open";
    }
}

struct CloseCase {
    const char* name;
    bool english;
    Answer answer;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

class Win32InfoCloseTest : public Win32DialogTest, public testing::WithParamInterface<CloseCase> {
  protected:
    void SetUp() override { ASSERT_NE(Main(), nullptr) << "no main dialog from template 101"; }
};

// As a user closes the box: a key press or a click on the frame, through the
// box's own modal loop; the hook sees the box while it is open.
TEST_P(Win32InfoCloseTest, ClosesTheBoxInWindowsOwnModalLoop) {
    const CloseCase& c = GetParam();
    CDialog::SetModalHook(nullptr);
    CWinApp app;
    app.m_pMainWnd = &dlg();
    g_bEnglish = c.english ? 1 : 0;
    std::vector<AnsweredBox> seen;
    int missed = 0, stuck = 0;
    {
        BoxAnswerer answerer(Main(), c.answer);
        Click(IDC_INFO);
        seen = answerer.seen();
        missed = answerer.missed();
        stuck = answerer.stuck();
    }
    EXPECT_EQ(missed, 0) << "boxes the hook did not see";
    EXPECT_EQ(stuck, 0) << "the answer did not close the box";
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Sifteron Information");
    EXPECT_EQ(seen[0].owner, Main());
    EXPECT_FALSE(seen[0].watchedEnabled);
    EXPECT_TRUE(IsWindowEnabled(Main()));
    EXPECT_EQ(OwnedWindow(Main()), nullptr) << "the box is still open";
    EXPECT_TRUE(IsWindowVisible(Main()));
}

INSTANTIATE_TEST_SUITE_P(Keys, Win32InfoCloseTest,
                         testing::Values(CloseCase{"GermanEscape", false, Answer::Escape},
                                         CloseCase{"GermanCloseBox", false, Answer::CloseBox},
                                         CloseCase{"EnglishEscape", true, Answer::Escape},
                                         CloseCase{"EnglishCloseBox", true, Answer::CloseBox}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sif::test
