// The main dialog on Windows' own windows, from template 101 linked into
// this program: its texts, the mode rules, the language toggle and where its
// controls sit, against the tables the headless and Qt tests use.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/language.h"
#include "tests/support/dialog_expectations.h"
#include "tests/win32/win32_dialog_test.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

constexpr int kModes[] = {IDC_MODE_POSITIVE, IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE,
                          IDC_MODE_MULTI_NEGATIVE};

class Win32MainDialogTest : public Win32DialogTest {
  protected:
    void SetUp() override { ASSERT_NE(Main(), nullptr) << "no main dialog from template 101"; }

    std::vector<int> CheckedModes() const {
        std::vector<int> checked;
        for (int id : kModes) {
            if (Checked(id))
                checked.push_back(id);
        }
        return checked;
    }
    void ExpectLabels(const LabelTable& labels) {
        for (const auto& [id, text] : labels)
            EXPECT_EQ(Text(id), text) << "control " << id;
    }
    // A template rectangle in this dialog's pixels: Windows maps a control's
    // place and size each on their own.
    ::RECT Pixels(int x, int y, int w, int h) const {
        ::RECT place{x, y, w, h};
        ::MapDialogRect(Main(), &place);
        return {place.left, place.top, place.left + place.right, place.top + place.bottom};
    }
};

TEST_F(Win32MainDialogTest, OpensWithTheTemplateTextsAndDefaults) {
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_EQ(TextOf(Main()), "Sifteron");
    ExpectLabels(kTemplateLabels);
    EXPECT_EQ(Text(IDC_LEFT), "\"");
    EXPECT_EQ(Text(IDC_RIGHT), "\"");
    EXPECT_TRUE(Checked(IDC_KIND_TEXT));
    EXPECT_FALSE(Checked(IDC_KIND_RESOURCE));
    EXPECT_EQ(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
}

TEST_F(Win32MainDialogTest, ModeBoxesAreExclusiveForText) {
    for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE,
                   IDC_MODE_POSITIVE, IDC_MODE_POSITIVE}) {
        Click(id);
        EXPECT_EQ(CheckedModes(), std::vector<int>{id});  // a checked box stays checked
    }
}

TEST_F(Win32MainDialogTest, ResourceKindRefusesTheOtherModesAndResetsTheDelimiters) {
    Click(IDC_MODE_MULTI_NEGATIVE);
    Type(IDC_LEFT, "<");
    Type(IDC_RIGHT, ">");
    Click(IDC_KIND_RESOURCE);
    EXPECT_TRUE(Checked(IDC_KIND_RESOURCE));
    EXPECT_FALSE(Checked(IDC_KIND_TEXT));
    EXPECT_EQ(Text(IDC_LEFT), "\"");
    EXPECT_EQ(Text(IDC_RIGHT), "\"");
    for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE}) {
        Click(id);
        EXPECT_EQ(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE}) << "after " << id;
    }
    Click(IDC_KIND_TEXT);
    Click(IDC_MODE_NEGATIVE);
    EXPECT_EQ(CheckedModes(), std::vector<int>{IDC_MODE_NEGATIVE});
}

TEST_F(Win32MainDialogTest, LanguageToggleSwitchesTheLabelsAndBack) {
    Click(IDC_LANGUAGE);
    EXPECT_EQ(g_bEnglish, 1);
    ExpectLabels(kEnglishLabels);
    EXPECT_EQ(TextOf(Main()), "Sifteron");
    Click(IDC_LANGUAGE);
    EXPECT_EQ(g_bEnglish, 0);
    ExpectLabels(kGermanToggledLabels);
}

TEST_F(Win32MainDialogTest, InfoOpensTheBoxOfTheLanguage) {
    Click(IDC_INFO);
    Click(IDC_LANGUAGE);
    Click(IDC_INFO);
    EXPECT_EQ(modalTemplates(), (std::vector<unsigned>{IDD_INFO, IDD_INFO_EN}));
}

TEST_F(Win32MainDialogTest, OkWithTheSameNamesShowsAnErrorOwnedByTheDialog) {
    Type(IDC_SOURCE, "same.txt");
    Type(IDC_TARGET, "same.txt");
    Click(IDOK);
    ASSERT_EQ(boxes().boxes().size(), 1u);
    EXPECT_EQ(boxes().Lines()[0], "Fehlermeldung: Quelldatei == Zieldatei !");
    EXPECT_EQ(win32::ToWin32(boxes().boxes()[0].owner), Main());
}

TEST_F(Win32MainDialogTest, ControlsSitWhereTemplate101PutsThem) {
    ::RECT client{};
    GetClientRect(Main(), &client);
    ::RECT want = Pixels(0, 0, kMainDialogWidth, kMainDialogHeight);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);

    // The template's order, but for the right delimiter's label, which sits
    // right before its field (what a screen reader names the field by).
    std::vector<::HWND> children = Children(Main());
    ASSERT_EQ(children.size(), std::size(kMainDialogControls));
    std::vector<TemplateControl> order(std::begin(kMainDialogControls),
                                       std::end(kMainDialogControls));
    auto label = std::find_if(order.begin(), order.end(),
                              [](const TemplateControl& c) { return c.id == IDC_LABEL_RIGHT; });
    auto field = std::find_if(order.begin(), order.end(),
                              [](const TemplateControl& c) { return c.id == IDC_RIGHT; });
    ASSERT_TRUE(label < field);
    std::rotate(label, label + 1, field);
    for (std::size_t i = 0; i < children.size(); ++i) {
        const TemplateControl& c = order[i];
        EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(children[i]))), c.id)
            << "control #" << i + 1;
        ::RECT got{};
        GetWindowRect(children[i], &got);
        MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&got), 2);
        want = Pixels(c.x, c.y, c.w, c.h);
        if (c.id == IDOK || c.id == IDCANCEL) {
            want.right = want.left + kBitmapButtonWidth;
            want.bottom = want.top + kBitmapButtonHeight;
        }
        EXPECT_TRUE(EqualRect(&got, &want))
            << "control #" << i + 1 << " (id " << c.id << "): got " << got.left << "," << got.top
            << " " << got.right - got.left << "x" << got.bottom - got.top << ", want " << want.left
            << "," << want.top << " " << want.right - want.left << "x" << want.bottom - want.top;
    }
}

// Template 101 has two DEFPUSHBUTTONs, Info and US/DE: the dialog manager
// keeps the later one as the default, so Enter in a field toggles the
// language rather than running or opening the information box.
TEST_F(Win32MainDialogTest, EnterInAFieldClicksTheLastDefaultButton) {
    ::HWND source = GetDlgItem(Main(), IDC_SOURCE);
    SetFocus(source);
    MSG enter{source, WM_KEYDOWN, VK_RETURN, 0x1C0001, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(Main(), &enter));
    EXPECT_EQ(LOWORD(SendMessageW(Main(), DM_GETDEFID, 0, 0)), IDC_LANGUAGE);
    EXPECT_EQ(g_bEnglish, 1);
    EXPECT_TRUE(modalTemplates().empty());
    EXPECT_TRUE(boxes().boxes().empty());
}

}  // namespace
}  // namespace sif::test
