// sifteron-cli with "-" as SOURCE or TARGET: standard input read from where
// it stands (a pipe, a file at an offset, a terminal), standard output
// appended to (a file opened with >> or not, a pipe), the same-file guard
// through either stream, and write errors there told as for files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"

namespace {

using sif::test::CliLaunch;
using sif::test::CliProcess;
using sif::test::ReadBytes;
using sif::test::SplitLines;
using sif::test::WriteBytes;
using Lines = std::vector<std::string>;

const char kSource[] = "\"one\"\r\n\"two\"\r\n";
const int kSecondLine = 7;
const char kEarlier[] = "old\r\n";
const char kDone[] = "Meldung: Operation abgechlossen";
const char kSameFile[] = "Fehlermeldung: Quelldatei == Zieldatei !";
const char kReadWrite[] = "Fehlermeldung: Fehler beim Lesen/Schreiben !";
const char kFailed[] = "Fehlermeldung: Datei ex, nicht/Erzeugung fehlgeschlagen !";

// Closes a descriptor once.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(int fd) {
        Close();
        fd_ = fd;
        return *this;
    }
    int get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

  private:
    int fd_;
};

// Everything the pipe carries until its writers are gone; "" plus a failure
// when that takes longer than `seconds`.
std::string ReadToEnd(int fd, double seconds = 30) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::string bytes;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            ADD_FAILURE() << "the pipe did not end in time";
            return bytes;
        }
        char chunk[4096];
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got <= 0) {
            return bytes;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

enum class In { None, Pipe, SourceFromSecondLine, Target };
enum class Out {
    Captured,
    AppendTarget,
    TargetAtItsStart,
    AppendSource,
    Pipe,
    PipeNobodyReads,
    Full,
    Directory
};

struct StreamCase {
    const char* name;
    std::vector<std::string> args;
    In in;
    Out out;
    int status;
    Lines errLines;
    std::string target;  // out.txt afterwards
    std::string stdoutBytes;
};

void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.name;
}

class CliStandardStreams : public ::testing::TestWithParam<StreamCase> {
  protected:
    std::string At(const std::string& name) const { return dir.File(name); }
    sif::test::TempDir dir;
};

TEST_P(CliStandardStreams, AreReadAndAppendedToAsFiles) {
    const StreamCase& c = GetParam();
    WriteBytes(At("src.txt"), kSource);
    WriteBytes(At("out.txt"), kEarlier);
    CliLaunch launch{c.args, dir.path().string(), At(".stdout"), At(".stderr")};

    Fd in, out, readEnd;
    int fds[2];
    switch (c.in) {
        case In::None:
            break;
        case In::Pipe:
            ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
            in = fds[0];
            ASSERT_EQ(::write(fds[1], kSource, sizeof kSource - 1), ssize_t{sizeof kSource - 1});
            ::close(fds[1]);
            break;
        case In::SourceFromSecondLine:
            in = ::open(At("src.txt").c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_EQ(::lseek(in.get(), kSecondLine, SEEK_SET), kSecondLine);
            break;
        case In::Target:
            in = ::open(At("out.txt").c_str(), O_RDONLY | O_CLOEXEC);
            break;
    }
    switch (c.out) {
        case Out::Captured:
            break;
        case Out::AppendTarget:
            out = ::open(At("out.txt").c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
            break;
        case Out::TargetAtItsStart:
            out = ::open(At("out.txt").c_str(), O_WRONLY | O_CLOEXEC);
            break;
        case Out::AppendSource:
            out = ::open(At("src.txt").c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
            break;
        case Out::Pipe:
        case Out::PipeNobodyReads:
            ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
            readEnd = fds[0];
            out = fds[1];
            if (c.out == Out::PipeNobodyReads) {
                readEnd.Close();
            }
            break;
        case Out::Full:
            launch.stdoutFile = "/dev/full";
            break;
        case Out::Directory:
            out = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            break;
    }
    launch.stdinStream = in.get();
    launch.stdoutStream = out.get();

    CliProcess cli(launch);
    in.Close();
    out.Close();
    const std::string piped = readEnd.get() >= 0 ? ReadToEnd(readEnd.get()) : "";
    EXPECT_EQ(cli.Wait(), c.status);
    EXPECT_FALSE(cli.KilledBySignal());
    EXPECT_EQ(SplitLines(ReadBytes(At(".stderr"))), c.errLines);
    EXPECT_EQ(ReadBytes(At("out.txt")), c.target);
    EXPECT_EQ(ReadBytes(At("src.txt")), kSource);
    // A stream that cannot be opened is never replaced by a new file.
    EXPECT_FALSE(std::filesystem::exists(At("-")));
    if (c.out == Out::Pipe) {
        EXPECT_EQ(piped, c.stdoutBytes);
    } else if (c.out == Out::Captured) {
        EXPECT_EQ(ReadBytes(At(".stdout")), c.stdoutBytes);
    }
}

const std::string kBoth = std::string(kEarlier) + "one\r\ntwo\r\n";
const std::string kSecond = std::string(kEarlier) + "two\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, CliStandardStreams,
    ::testing::Values(
        StreamCase{"PipeToFile", {"-", "out.txt"}, In::Pipe, Out::Captured, 0, {kDone}, kBoth, ""},
        StreamCase{"FileFromItsOffset",
                   {"-", "out.txt"},
                   In::SourceFromSecondLine,
                   Out::Captured,
                   0,
                   {kDone},
                   kSecond,
                   ""},
        StreamCase{"NoInputReadsEmpty",
                   {"-", "out.txt"},
                   In::None,
                   Out::Captured,
                   0,
                   {kDone},
                   kEarlier,
                   ""},
        StreamCase{"FileToPipe",
                   {"src.txt", "-"},
                   In::None,
                   Out::Pipe,
                   0,
                   {kDone},
                   kEarlier,
                   "one\r\ntwo\r\n"},
        StreamCase{"FileToAppendedFile",
                   {"src.txt", "-"},
                   In::None,
                   Out::AppendTarget,
                   0,
                   {kDone},
                   kBoth,
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
        StreamCase{"MultilinePipeToPipe",
                   {"--mode=multiline-negative", "-", "-"},
                   In::Pipe,
                   Out::Pipe,
                   0,
                   {"Meldung: Mehrzeilige Operation ok"},
                   kEarlier,
                   "\r\n\r\n"},
        StreamCase{"SameFileThroughStdout",
                   {"src.txt", "-"},
                   In::None,
                   Out::AppendSource,
                   1,
                   {kSameFile, kFailed},
                   kEarlier,
                   ""},
        StreamCase{"SameFileThroughStdin",
                   {"-", "out.txt"},
                   In::Target,
                   Out::Captured,
                   1,
                   {kSameFile, kFailed},
                   kEarlier,
                   ""},
        StreamCase{"SameFileThroughBoth",
                   {"-", "-"},
                   In::Target,
                   Out::AppendTarget,
                   1,
                   {kSameFile, kFailed},
                   kEarlier,
                   ""},
        StreamCase{"FullDevice",
                   {"src.txt", "-"},
                   In::None,
                   Out::Full,
                   1,
                   {kReadWrite, kFailed},
                   kEarlier,
                   ""},
        StreamCase{"PipeNobodyReads",
                   {"src.txt", "-"},
                   In::None,
                   Out::PipeNobodyReads,
                   1,
                   {kReadWrite, kFailed},
                   kEarlier,
                   ""},
        StreamCase{"DirectoryOnStdout",
                   {"src.txt", "-"},
                   In::None,
                   Out::Directory,
                   1,
                   {"Meldung: Zieldatei wird neu erzeugt", kFailed},
                   kEarlier,
                   ""}),
    [](const auto& info) { return std::string(info.param.name); });

class CliStandardStream : public ::testing::Test {
  protected:
    std::string At(const std::string& name) const { return dir.File(name); }
    sif::test::TempDir dir;
};

TEST_F(CliStandardStream, AResourceLineNamesStandardInputDash) {
    WriteBytes(At("in.rc"), "  CAPTION \"Title\"\r\n");
    Fd in(::open(At("in.rc").c_str(), O_RDONLY | O_CLOEXEC));
    CliLaunch launch{{"--kind=rc", "-", "out.txt"}, dir.path().string(), "", At(".stderr")};
    launch.stdinStream = in.get();
    CliProcess cli(launch);
    EXPECT_EQ(cli.Wait(), 0);
    EXPECT_EQ(ReadBytes(At("out.txt")), "Title\tCAPTION\t-\r\n");
}

TEST_F(CliStandardStream, AListIsNeverAppendedToThroughStdout) {
    WriteBytes(At("one.txt"), kSource);
    WriteBytes(At("Liste.txt"), "one.txt\r\n");
    Fd out(::open(At("Liste.txt").c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    CliLaunch launch{{"#LISTE#", "-"}, dir.path().string(), "", At(".stderr")};
    launch.stdoutStream = out.get();
    CliProcess cli(launch);
    EXPECT_EQ(cli.Wait(), 1);
    EXPECT_EQ(SplitLines(ReadBytes(At(".stderr"))),
              (Lines{"Meldung: Listendatei abarbeiten", kSameFile}));
    EXPECT_EQ(ReadBytes(At("Liste.txt")), "one.txt\r\n");
}

// About 1 MB of output: the file-size limit stops it part of the way.
TEST_F(CliStandardStream, AFailedWriteTakesTheOutputBackOutOfAFileOnStdout) {
    std::string big;
    for (int i = 0; i < 25000; ++i) {
        big += "line \"piece " + std::to_string(i) + "\" and the rest\r\n";
    }
    WriteBytes(At("src.txt"), big);
    WriteBytes(At("out.txt"), kEarlier);
    Fd out(::open(At("out.txt").c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    CliLaunch launch{{"src.txt", "-"}, dir.path().string(), "", At(".stderr")};
    launch.stdoutStream = out.get();
    launch.fileSizeLimit = 100000;
    CliProcess cli(launch);
    EXPECT_EQ(cli.Wait(), 1);
    EXPECT_EQ(SplitLines(ReadBytes(At(".stderr"))), (Lines{kReadWrite, kFailed}));
    EXPECT_EQ(ReadBytes(At("out.txt")), kEarlier);
}

// A terminal as both streams, as typed at a shell: one device, but no file
// that the run could read back what it appends. Ctrl-D ends the input once
// only, so a run that read again after it would wait forever.
TEST_F(CliStandardStream, ATerminalIsReadAndWrittenAtOnce) {
    struct Row {
        const char* mode;
        const char* closing;
    };
    for (const Row& row : {Row{"positive", kDone}, Row{"negative", kDone},
                           Row{"multiline-positive", "Meldung: Mehrzeilige Operation ok"}}) {
        SCOPED_TRACE(row.mode);
        Fd master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
        ASSERT_GE(master.get(), 0);
        ASSERT_EQ(::grantpt(master.get()), 0);
        ASSERT_EQ(::unlockpt(master.get()), 0);
        Fd terminal(::open(::ptsname(master.get()), O_RDWR | O_NOCTTY | O_CLOEXEC));
        ASSERT_GE(terminal.get(), 0);
        // One line, then the end-of-file character at the start of the next.
        const char typed[] = "a \"typed\" b\n\x04";
        ASSERT_EQ(::write(master.get(), typed, sizeof typed - 1), ssize_t{sizeof typed - 1});

        CliLaunch launch{{"--mode", row.mode, "-", "-"}, dir.path().string(), "", At(".stderr")};
        launch.stdinStream = terminal.get();
        launch.stdoutStream = terminal.get();
        CliProcess cli(launch);
        terminal.Close();
        // The terminal echoes the typed line; the output follows it. The
        // master reads an error once the program has closed the terminal.
        const std::string shown = ReadToEnd(master.get());
        EXPECT_EQ(cli.Wait(), 0);
        EXPECT_EQ(SplitLines(ReadBytes(At(".stderr"))), (Lines{row.closing}));
        // The echo ends "b\r\n"; only the output has more after it.
        EXPECT_GT(shown.size(), sizeof typed) << shown;
    }
}

}  // namespace
