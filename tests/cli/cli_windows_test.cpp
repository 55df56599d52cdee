// sifteron-cli.exe on what only Windows has: device names, another letter
// case, the 260-character name limit, the read-only mark and a target that
// another process holds locked. Each run ends with status 1, a clear message
// and the target exactly as it was.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"

namespace {

using sif::test::ReadBytes;
using sif::test::SplitLines;
using sif::test::WriteBytes;
using Lines = std::vector<std::string>;

const char kMissing[] = "Fehlermeldung: Quelldatei nicht gefunden !";
const char kCreating[] = "Meldung: Zieldatei wird neu erzeugt";
const char kSameFile[] = "Fehlermeldung: Quelldatei == Zieldatei !";
const char kFailed[] = "Fehlermeldung: Datei ex, nicht/Erzeugung fehlgeschlagen !";
const char kTarget[] = "out.txt";
const char kEarlier[] = "earlier content\r\n";

// A name past the 260 characters that Windows accepts; its folder exists.
const std::string kLongFolder(120, 'd');
const std::string kLongName = kLongFolder + "\\" + std::string(150, 'n') + ".txt";

enum class Hold { Nothing, ReadOnlyMark, LockByThisProcess };

struct WindowsCase {
    const char* name;
    std::string source;
    std::string target;
    Hold hold;
    Lines errLines;
};

void PrintTo(const WindowsCase& c, std::ostream* os) {
    *os << c.name;
}

class CliWindows : public ::testing::TestWithParam<WindowsCase> {
  protected:
    std::string At(const std::string& name) const { return dir.File(name); }
    sif::test::TempDir dir;
};

TEST_P(CliWindows, EndsWithStatusOneAndLeavesTheTargetAlone) {
    const WindowsCase& c = GetParam();
    WriteBytes(At("src.txt"), "\"x\"\r\n");
    WriteBytes(At(kTarget), kEarlier);
    ASSERT_TRUE(CreateDirectoryA(At(kLongFolder).c_str(), nullptr));
    const std::string target = At(kTarget);
    HANDLE lock = INVALID_HANDLE_VALUE;
    if (c.hold == Hold::ReadOnlyMark) {
        ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    } else if (c.hold == Hold::LockByThisProcess) {
        lock = CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    }

    const std::string errFile = At("stderr.txt");
    sif::test::CliProcess cli({{c.source, c.target}, dir.path().string(), "", errFile});
    EXPECT_EQ(cli.Wait(), 1);

    if (lock != INVALID_HANDLE_VALUE) {
        CloseHandle(lock);
    }
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(SplitLines(ReadBytes(errFile)), c.errLines);
    EXPECT_EQ(ReadBytes(target), kEarlier);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliWindows,
    ::testing::Values(
        WindowsCase{"NulSource", "NUL", kTarget, Hold::Nothing, {kMissing, kFailed}},
        WindowsCase{"ConSource", "CON", kTarget, Hold::Nothing, {kMissing, kFailed}},
        WindowsCase{"Com1Source", "COM1", kTarget, Hold::Nothing, {kMissing, kFailed}},
        WindowsCase{"NulTarget", "src.txt", "NUL", Hold::Nothing, {kCreating, kFailed}},
        WindowsCase{"ConTarget", "src.txt", "CON", Hold::Nothing, {kCreating, kFailed}},
        WindowsCase{"Com1Target", "src.txt", "COM1", Hold::Nothing, {kCreating, kFailed}},
        WindowsCase{"OtherLetterCase", kTarget, "OUT.TXT", Hold::Nothing, {kSameFile, kFailed}},
        WindowsCase{"LongSourceName", kLongName, kTarget, Hold::Nothing, {kMissing, kFailed}},
        WindowsCase{"LongTargetName", "src.txt", kLongName, Hold::Nothing, {kCreating, kFailed}},
        WindowsCase{"ReadOnlyTarget", "src.txt", kTarget, Hold::ReadOnlyMark, {kCreating, kFailed}},
        WindowsCase{
            "LockedTarget", "src.txt", kTarget, Hold::LockByThisProcess, {kCreating, kFailed}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
