// sifteron-cli.exe on what only Windows has: device names, another letter
// case, the 260-character name limit, the read-only mark and a target that
// another process holds locked. Each run ends with status 1, a clear message
// and the target exactly as it was. Then "-" on Windows' standard handles:
// files, pipes, none at all.
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

const char kSource[] = "\"one\"\r\n\"two\"\r\n";
const DWORD kSecondLine = 7;
const char kDone[] = "Meldung: Operation abgechlossen";
const char kReadWrite[] = "Fehlermeldung: Fehler beim Lesen/Schreiben !";

enum class In { None, Pipe, SourceFromSecondLine, Target };
enum class Out { Captured, TargetAtItsStart, Source, Pipe, PipeNobodyReads };

struct StreamCase {
    const char* name;
    std::vector<std::string> args;
    In in;
    Out out;
    int status;
    Lines errLines;
    std::string target;  // out.txt afterwards
    std::string piped;   // what the pipe on stdout carried
};

void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.name;
}

// Closes a handle once.
class Handle {
  public:
    Handle() = default;
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE* out() { return &h_; }
    HANDLE get() const { return h_; }
    void Close() {
        if (h_ != nullptr && h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
        }
        h_ = nullptr;
    }

  private:
    HANDLE h_ = nullptr;
};

HANDLE OpenShared(const std::string& file, DWORD access) {
    return CreateFileA(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class CliWindowsStreams : public ::testing::TestWithParam<StreamCase> {
  protected:
    std::string At(const std::string& name) const { return dir.File(name); }
    sif::test::TempDir dir;
};

TEST_P(CliWindowsStreams, AreReadAndAppendedToAsFiles) {
    const StreamCase& c = GetParam();
    WriteBytes(At("src.txt"), kSource);
    WriteBytes(At(kTarget), kEarlier);
    sif::test::CliLaunch launch{c.args, dir.path().string(), At("stdout.txt"), At("stderr.txt")};

    Handle in, writer, out, reader;
    switch (c.in) {
        case In::None:
            break;
        case In::Pipe: {
            ASSERT_TRUE(CreatePipe(in.out(), writer.out(), nullptr, 0));
            DWORD written = 0;
            ASSERT_TRUE(WriteFile(writer.get(), kSource, sizeof kSource - 1, &written, nullptr));
            writer.Close();
            break;
        }
        case In::SourceFromSecondLine:
            *in.out() = OpenShared(At("src.txt"), GENERIC_READ);
            ASSERT_EQ(SetFilePointer(in.get(), kSecondLine, nullptr, FILE_BEGIN), kSecondLine);
            break;
        case In::Target:
            *in.out() = OpenShared(At(kTarget), GENERIC_READ);
            break;
    }
    switch (c.out) {
        case Out::Captured:
            break;
        case Out::TargetAtItsStart:
            *out.out() = OpenShared(At(kTarget), GENERIC_WRITE);
            break;
        case Out::Source:
            *out.out() = OpenShared(At("src.txt"), GENERIC_WRITE);
            break;
        case Out::Pipe:
        case Out::PipeNobodyReads:
            ASSERT_TRUE(CreatePipe(reader.out(), out.out(), nullptr, 0));
            if (c.out == Out::PipeNobodyReads) {
                reader.Close();
            }
            break;
    }
    launch.stdinStream = in.get();
    launch.stdoutStream = out.get();

    sif::test::CliProcess cli(launch);
    in.Close();
    out.Close();
    std::string piped;
    char chunk[4096];
    DWORD got = 0;
    while (reader.get() != nullptr && ReadFile(reader.get(), chunk, sizeof chunk, &got, nullptr) &&
           got > 0) {
        piped.append(chunk, got);
    }
    EXPECT_EQ(cli.Wait(), c.status);
    EXPECT_EQ(SplitLines(ReadBytes(At("stderr.txt"))), c.errLines);
    EXPECT_EQ(ReadBytes(At(kTarget)), c.target);
    EXPECT_EQ(ReadBytes(At("src.txt")), kSource);
    EXPECT_EQ(piped, c.piped);
}

const std::string kBoth = std::string(kEarlier) + "one\r\ntwo\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, CliWindowsStreams,
    ::testing::Values(
        StreamCase{"PipeToFile", {"-", kTarget}, In::Pipe, Out::Captured, 0, {kDone}, kBoth, ""},
        StreamCase{"FileFromItsOffset",
                   {"-", kTarget},
                   In::SourceFromSecondLine,
                   Out::Captured,
                   0,
                   {kDone},
                   std::string(kEarlier) + "two\r\n",
                   ""},
        StreamCase{"NoStandardInput",
                   {"-", kTarget},
                   In::None,
                   Out::Captured,
                   1,
                   {kMissing, kFailed},
                   kEarlier,
                   ""},
        StreamCase{"FileToAFileAtItsStart",
                   {"src.txt", "-"},
                   In::None,
                   Out::TargetAtItsStart,
                   0,
                   {kDone},
                   kBoth,
                   ""},
        StreamCase{
            "PipeToPipe", {"-", "-"}, In::Pipe, Out::Pipe, 0, {kDone}, kEarlier, "one\r\ntwo\r\n"},
        StreamCase{"SameFileThroughStdout",
                   {"src.txt", "-"},
                   In::None,
                   Out::Source,
                   1,
                   {kSameFile, kFailed},
                   kEarlier,
                   ""},
        StreamCase{"SameFileThroughStdin",
                   {"-", kTarget},
                   In::Target,
                   Out::Captured,
                   1,
                   {kSameFile, kFailed},
                   kEarlier,
                   ""},
        StreamCase{"PipeNobodyReads",
                   {"src.txt", "-"},
                   In::None,
                   Out::PipeNobodyReads,
                   1,
                   {kReadWrite, kFailed},
                   kEarlier,
                   ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
