// Windows' own message boxes of a run, answered through a WH_CBT hook as a
// user answers them: owner, caption and text of each, the main dialog
// waiting while an owned box is open and taking input while an ownerless one
// is.
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/win32/box_answerer.h"
#include "tests/win32/win32_dialog_test.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

struct ExpectedBox {
    const char* caption;
    const char* text;
    bool owned;  // by the main dialog; else by no window
};

struct RunCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> files;
    const char* source;
    const char* target;
    std::vector<ExpectedBox> boxes;
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class Win32MessageBoxTest : public Win32DialogTest, public testing::WithParamInterface<RunCase> {
  protected:
    Win32MessageBoxTest() : Win32DialogTest(true) {}
    void SetUp() override { ASSERT_NE(Main(), nullptr) << "no main dialog from template 101"; }

    TempDir dir;
    ScopedCurrentDir cd{dir.path()};
};

TEST_P(Win32MessageBoxTest, ShowsEachBoxOfTheRunAsARealBox) {
    const RunCase& c = GetParam();
    for (const auto& [name, bytes] : c.files)
        WriteBytes(dir.File(name), bytes);
    Type(IDC_SOURCE, c.source);
    Type(IDC_TARGET, c.target);
    std::vector<AnsweredBox> seen;
    int missed = 0, stuck = 0;
    {
        BoxAnswerer answerer(Main());
        Click(IDOK);
        seen = answerer.seen();
        missed = answerer.missed();
        stuck = answerer.stuck();
    }
    EXPECT_EQ(missed, 0) << "boxes the hook did not see";
    EXPECT_EQ(stuck, 0) << "boxes that OK did not close";
    ASSERT_EQ(seen.size(), c.boxes.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "box " << i + 1 << ": " << c.boxes[i].text);
        EXPECT_EQ(seen[i].caption, c.boxes[i].caption);
        EXPECT_EQ(seen[i].text, c.boxes[i].text);
        EXPECT_EQ(seen[i].owner, c.boxes[i].owned ? Main() : nullptr);
        EXPECT_EQ(seen[i].watchedEnabled, !c.boxes[i].owned);
    }
    EXPECT_TRUE(IsWindowEnabled(Main()));
}

constexpr ExpectedBox kSourceMissing{"Fehlermeldung", "Quelldatei nicht gefunden !", false};
constexpr ExpectedBox kFailed{"Fehlermeldung", "Datei ex, nicht/Erzeugung fehlgeschlagen !", true};

INSTANTIATE_TEST_SUITE_P(
    Runs, Win32MessageBoxTest,
    testing::Values(
        RunCase{"EqualNames",
                {},
                "same.txt",
                "same.txt",
                {{"Fehlermeldung", "Quelldatei == Zieldatei !", true}}},
        RunCase{"MissingSource", {}, "missing.txt", "out.txt", {kSourceMissing, kFailed}},
        RunCase{
            "List",
            {{"Liste.txt", "a.txt\r\nmissing.txt\r\n"}, {"a.txt", "\"a\"\r\n"}, {"out.txt", ""}},
            "#Liste#",
            "out.txt",
            {{"Meldung", "Listendatei abarbeiten", true},
             kSourceMissing,
             kFailed,
             {"Meldung", "Operation abgechlossen", true}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sif::test
