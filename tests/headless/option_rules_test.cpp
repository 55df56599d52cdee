// The option rules and the language toggle of the main dialog, driven by
// clicks on the headless backend.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/language.h"
#include "tests/support/dialog_expectations.h"
#include "tests/headless/headless_dialog_test.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

constexpr int kModes[] = {IDC_MODE_POSITIVE, IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE,
                          IDC_MODE_MULTI_NEGATIVE};

// Every text and check mark of the dialog.
struct Snapshot {
    std::vector<std::string> texts;
    std::vector<unsigned> checks;
    bool operator==(const Snapshot&) const = default;
};

class OptionRulesTest : public HeadlessDialogTest {
  protected:
    std::vector<int> CheckedModes() {
        std::vector<int> checked;
        for (int id : kModes) {
            if (dlg().IsDlgButtonChecked(id))
                checked.push_back(id);
        }
        return checked;
    }
    Snapshot Take(const std::vector<int>& textIds) {
        Snapshot s;
        for (int id : textIds)
            s.texts.push_back(Text(id));
        for (int id = IDC_KIND_RESOURCE; id <= IDC_MODE_MULTI_NEGATIVE; ++id)
            s.checks.push_back(dlg().IsDlgButtonChecked(id));
        return s;
    }
};

TEST_F(OptionRulesTest, ModeBoxesAreExclusiveForText) {
    for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE,
                   IDC_MODE_POSITIVE, IDC_MODE_POSITIVE}) {
        Click(id);
        EXPECT_EQ(CheckedModes(), std::vector<int>{id});  // a checked box stays checked
    }
}

TEST_F(OptionRulesTest, ResourceKindRefusesTheOtherModes) {
    Click(IDC_MODE_MULTI_NEGATIVE);
    Click(IDC_KIND_RESOURCE);
    EXPECT_EQ(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
    for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE}) {
        Click(id);
        EXPECT_EQ(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
    }
}

TEST_F(OptionRulesTest, NoClickSequenceBreaksTheRules) {
    const int targets[] = {IDC_KIND_RESOURCE, IDC_KIND_TEXT,           IDC_MODE_POSITIVE,
                           IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE};
    std::mt19937 random(4711);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(targets) - 1);
    for (int step = 0; step < 300; ++step) {
        int id = targets[pick(random)];
        Click(id);
        std::vector<int> checked = CheckedModes();
        ASSERT_EQ(checked.size(), 1u) << "step " << step << " (click " << id << ")";
        if (dlg().IsDlgButtonChecked(IDC_KIND_RESOURCE)) {
            ASSERT_EQ(checked[0], IDC_MODE_POSITIVE) << "step " << step;
        }
    }
}

TEST_F(OptionRulesTest, TheFirstCheckedBoxInIdOrderChoosesTheMode) {
    // Only the program itself can check two boxes at once; the lookup must
    // still take the lowest id, as the run does.
    dlg().SendDlgItemMessageA(IDC_MODE_POSITIVE, BM_SETCHECK, 0);
    EXPECT_EQ(dlg().GetCheckedRadioButton(IDC_MODE_POSITIVE, IDC_MODE_MULTI_NEGATIVE), 0);
    dlg().SendDlgItemMessageA(IDC_MODE_MULTI_NEGATIVE, BM_SETCHECK, 1);
    dlg().SendDlgItemMessageA(IDC_MODE_NEGATIVE, BM_SETCHECK, 1);
    EXPECT_EQ(dlg().GetCheckedRadioButton(IDC_MODE_POSITIVE, IDC_MODE_MULTI_NEGATIVE),
              IDC_MODE_NEGATIVE);
    EXPECT_EQ(dlg().GetCheckedRadioButton(IDC_KIND_RESOURCE, IDC_KIND_TEXT), IDC_KIND_TEXT);
}

TEST_F(OptionRulesTest, ResourceKindResetsTheDelimitersOnEveryClick) {
    Click(IDC_MODE_MULTI_POSITIVE);
    for (int round = 0; round < 2; ++round) {  // also when already selected
        Type(IDC_LEFT, "<");
        Type(IDC_RIGHT, "}]");
        Click(IDC_KIND_RESOURCE);
        EXPECT_EQ(Text(IDC_LEFT), "\"");
        EXPECT_EQ(Text(IDC_RIGHT), "\"");
        EXPECT_EQ(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
    }
}

TEST_F(OptionRulesTest, TextKindRestoresNothing) {
    Click(IDC_MODE_NEGATIVE);
    Type(IDC_LEFT, "<");
    Click(IDC_KIND_RESOURCE);
    Type(IDC_LEFT, "[");
    Click(IDC_KIND_TEXT);
    EXPECT_EQ(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
    EXPECT_EQ(Text(IDC_LEFT), "[");
    EXPECT_EQ(Text(IDC_RIGHT), "\"");
}

TEST_F(OptionRulesTest, OneToggleShowsEnglishAndChangesNothingElse) {
    Click(IDC_MODE_NEGATIVE);
    Type(IDC_SOURCE, "in.txt");
    Type(IDC_TARGET, "out.txt");
    Type(IDC_LEFT, "<");
    Type(IDC_RIGHT, ">");
    const std::vector<int> unchanged = {IDC_SOURCE,        IDC_TARGET,        IDC_LEFT,
                                        IDC_RIGHT,         IDC_MODE_POSITIVE, IDC_MODE_NEGATIVE,
                                        IDC_KIND_RESOURCE, IDC_KIND_TEXT,     IDC_INFO,
                                        IDC_LANGUAGE,      IDC_BROWSE_SOURCE, IDC_BROWSE_TARGET};
    Snapshot before = Take(unchanged);
    std::string caption = backend().TextUtf8(Hwnd());

    Click(IDC_LANGUAGE);
    EXPECT_EQ(g_bEnglish, 1);
    for (const auto& [id, text] : kEnglishLabels)
        EXPECT_EQ(Text(id), text) << "control " << id;
    EXPECT_EQ(Take(unchanged), before);
    EXPECT_EQ(Text(IDC_MODE_POSITIVE), "positiv: ... \"xxxxx\" ...");
    EXPECT_EQ(backend().TextUtf8(Hwnd()), caption);
}

TEST_F(OptionRulesTest, TwoTogglesGiveTheStringTablesGerman) {
    Click(IDC_LANGUAGE);
    Click(IDC_LANGUAGE);
    EXPECT_EQ(g_bEnglish, 0);
    for (const auto& [id, text] : kGermanToggledLabels)
        EXPECT_EQ(Text(id), text) << "control " << id;
}

TEST_F(OptionRulesTest, TheBackendHearsEveryLanguageChange) {
    EXPECT_EQ(backend().interfaceLanguage(), "de");  // from the start
    for (const char* expected : {"en", "de", "en"}) {
        Click(IDC_LANGUAGE);
        EXPECT_EQ(backend().interfaceLanguage(), expected);
    }
}

TEST_F(OptionRulesTest, ARunAfterAToggleSpeaksEnglish) {
    Click(IDC_LANGUAGE);
    Type(IDC_SOURCE, "same");
    Type(IDC_TARGET, "same");
    Click(IDOK);
    EXPECT_EQ(BoxLines(), std::vector<std::string>{"Errormessage: source file == target file !"});
    Click(IDC_LANGUAGE);
    Click(IDOK);
    EXPECT_EQ(BoxLines().back(), "Fehlermeldung: Quelldatei == Zieldatei !");
}

}  // namespace
}  // namespace sif::test
