// The Browse buttons' file dialog on Windows' own windows, answered through a
// WH_CBT hook: the filters of string 2019, 2016 or 2007 as its file types,
// the chosen file in the field, and its folder the current one afterwards.
#include <windows.h>
// The file dialog's control ids; after windows.h, which it needs.
#include <dlgs.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/win32/box_answerer.h"
#include "tests/win32/win32_dialog_test.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

struct BrowseCase {
    const char* name;
    bool resourceKind;
    int button;
    int field;
    std::vector<std::string> fileTypes;
};

void PrintTo(const BrowseCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<std::string> ComboItems(::HWND combo) {
    std::vector<std::string> items;
    const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t item[256] = L"";
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        char narrow[256] = "";
        WideCharToMultiByte(1252, 0, item, -1, narrow, sizeof narrow, nullptr, nullptr);
        items.emplace_back(narrow);
    }
    return items;
}

class Win32FileDialogTest : public Win32DialogTest, public testing::WithParamInterface<BrowseCase> {
  protected:
    void SetUp() override { ASSERT_NE(Main(), nullptr) << "no main dialog from template 101"; }

    TempDir dir;
    ScopedCurrentDir cd{dir.path()};
};

TEST_P(Win32FileDialogTest, OffersTheFiltersAndTakesTheChosenFile) {
    const BrowseCase& c = GetParam();
    const std::filesystem::path folder = dir.path() / "chosen folder";
    std::filesystem::create_directory(folder);
    const std::string chosen = (folder / "pick.txt").string();
    WriteBytes(chosen, "x");
    if (c.resourceKind)
        Click(IDC_KIND_RESOURCE);

    std::vector<std::string> fileTypes;
    std::vector<AnsweredBox> seen;
    {
        BoxAnswerer answerer(Main(), Answer::Custom, [&](::HWND box) {
            fileTypes = ComboItems(GetDlgItem(box, cmb1));
            // The name field: a combo box or an edit field, by dialog version.
            ::HWND name = GetDlgItem(box, cmb13);
            SetWindowTextA(name != nullptr ? name : GetDlgItem(box, edt1), chosen.c_str());
            SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        });
        Click(c.button);
        seen = answerer.seen();
        EXPECT_EQ(answerer.missed(), 0) << "dialogs the hook did not see";
        EXPECT_EQ(answerer.stuck(), 0) << "the dialog did not take the file";
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].owner, nullptr);
    EXPECT_TRUE(seen[0].watchedEnabled) << "the dialog has no owner, and disables none";
    EXPECT_EQ(fileTypes, c.fileTypes);
    EXPECT_EQ(Text(c.field), chosen);
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), folder));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, Win32FileDialogTest,
    testing::Values(
        BrowseCase{"TextSource", false, IDC_BROWSE_SOURCE, IDC_SOURCE, {"Text", "HTML", "HTM"}},
        BrowseCase{"ResourceSource", true, IDC_BROWSE_SOURCE, IDC_SOURCE, {"Res", "Dialog"}},
        BrowseCase{"Target", false, IDC_BROWSE_TARGET, IDC_TARGET, {"Text"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sif::test
