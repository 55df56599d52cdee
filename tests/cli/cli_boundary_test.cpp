// sifteron-cli at the edges of its process: a file-size limit, termination
// signals in the middle of a run, a named pipe whose writer comes late, a
// stderr or stdout that cannot be written. In each case the target keeps
// exactly its earlier bytes or receives the whole output, and the exit status
// tells which.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"

namespace {

using sif::test::CliLaunch;
using sif::test::CliProcess;
using sif::test::ReadBytes;
using sif::test::WaitUntil;
using sif::test::WriteBytes;

const char kEarlier[] = "earlier content\r\n";
const char kReadWrite[] = "Fehlermeldung: Fehler beim Lesen/Schreiben !";
const char kFailed[] = "Fehlermeldung: Datei ex, nicht/Erzeugung fehlgeschlagen !";
const char kTooLong[] = "Fehlermeldung: Zeile zu lang > 500 Zeichen !";

// ASCII text as UTF-16LE with its mark.
std::string Utf16(const std::string& ascii) {
    std::string le = "\xFF\xFE";
    for (char c : ascii) {
        le += {c, '\0'};
    }
    return le;
}

// A target's earlier bytes: the run's output is appended to a UTF-16 one in
// UTF-16, two bytes for each byte of ASCII, and cut back from it alike.
struct Earlier {
    std::string bytes;
    std::size_t width;
};

const Earlier kEarlierTargets[] = {{kEarlier, 1}, {Utf16(kEarlier), 2}};

// Groups of `lines` short lines with a quoted piece each, then a line of 600
// bytes without quotes, which gives a notice. `outputBefore` receives, for
// each notice, the positive output that comes before it.
std::string LinesWithNotices(int groups, int lines, std::vector<std::size_t>* outputBefore) {
    std::string text;
    std::size_t output = 0;
    for (int g = 0; g < groups; ++g) {
        for (int i = 0; i < lines; ++i) {
            const std::string piece = "piece " + std::to_string(g) + "." + std::to_string(i);
            text += "\"" + piece + "\" and more\r\n";
            output += piece.size() + 2;
        }
        text += std::string(598, 'x') + "\r\n";
        outputBefore->push_back(output);
    }
    return text;
}

// About 1 MB of lines that every mode keeps much of: far more than one write
// buffer, so earlier parts reach the target before a later write fails.
std::string BigSource(bool resource) {
    std::string text;
    for (int i = 0; i < 25000; ++i) {
        const std::string n = std::to_string(i);
        text += resource ? "  CAPTION \"caption number " + n + "\"\r\n"
                         : "line " + n + " \"piece " + n + "\" and the rest\r\n";
    }
    return text;
}

struct ModeCase {
    const char* name;
    std::vector<std::string> options;
    bool resource;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.name;
}

const ModeCase kModes[] = {
    {"Positive", {}, false},
    {"Negative", {"--mode", "negative"}, false},
    {"Resource", {"--kind", "rc"}, true},
    {"MultilinePositive", {"--mode", "multiline-positive"}, false},
    {"MultilineNegative", {"--mode", "multiline-negative"}, false},
};

class CliBoundary : public ::testing::Test {
  protected:
    std::string At(const std::string& name) const { return dir.File(name); }

    CliLaunch Launch(std::vector<std::string> options, const std::string& source) const {
        options.push_back(source);
        options.push_back("out.txt");
        return {options, dir.path().string(), "", At(".stderr")};
    }

    std::string LastErrLine() const {
        std::string err = ReadBytes(At(".stderr"));
        if (!err.empty() && err.back() == '\n') {
            err.pop_back();
        }
        return err.substr(err.rfind('\n') + 1);
    }

    sif::test::TempDir dir;
};

class FileSizeLimit : public CliBoundary, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(FileSizeLimit, AFailedWriteTakesTheRunsOutputBackOut) {
    const ModeCase& c = GetParam();
    WriteBytes(At("src.txt"), BigSource(c.resource));
    for (const Earlier& earlier : kEarlierTargets) {
        SCOPED_TRACE(earlier.width == 1 ? "bytes" : "UTF-16");
        WriteBytes(At("out.txt"), earlier.bytes);
        CliLaunch launch = Launch(c.options, "src.txt");
        launch.fileSizeLimit = 100000;
        CliProcess cli(launch);
        EXPECT_EQ(cli.Wait(), 1);
        EXPECT_FALSE(cli.KilledBySignal());
        EXPECT_TRUE(ReadBytes(At("out.txt")) == earlier.bytes);
        const std::string err = ReadBytes(At(".stderr"));
        EXPECT_NE(err.find(kReadWrite), std::string::npos) << err;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, FileSizeLimit, ::testing::ValuesIn(kModes),
                         [](const auto& info) { return std::string(info.param.name); });

class ListFileSizeLimit : public FileSizeLimit {};

TEST_P(ListFileSizeLimit, TakesOnlyTheFailedFilesOutputBackOut) {
    const ModeCase& c = GetParam();
    WriteBytes(At("big.txt"), BigSource(c.resource));
    WriteBytes(At("small.txt"), c.resource ? "  CAPTION \"small\"\r\n" : "\"small\"\r\n");
    WriteBytes(At("Liste.txt"), "big.txt\r\nsmall.txt\r\n");
    WriteBytes(At("out.txt"), kEarlier);
    CliLaunch launch = Launch(c.options, "#LISTE#");
    launch.fileSizeLimit = 100000;
    CliProcess cli(launch);
    EXPECT_EQ(cli.Wait(), 1);
    const std::string small = c.resource          ? "small\tCAPTION\tsmall.txt\r\n"
                              : c.options.empty() ? "small\r\n"
                                                  : "\r\n";
    EXPECT_EQ(ReadBytes(At("out.txt")), kEarlier + small);
    const std::string err = ReadBytes(At(".stderr"));
    EXPECT_NE(err.find(std::string(kReadWrite) + "\n" + kFailed), std::string::npos) << err;
}

// The notices shown are those that writes line by line would have let
// through: each one whose output before it fits under the limit.
TEST_F(CliBoundary, AFailedWriteShowsTheNoticesBeforeItOnly) {
    // Over 400 KB of output: large writes go through before one fails.
    const std::size_t limit = 300000;
    std::vector<std::size_t> outputBefore;
    WriteBytes(At("src.txt"), LinesWithNotices(3000, 10, &outputBefore));
    for (const Earlier& earlier : kEarlierTargets) {
        SCOPED_TRACE(earlier.width == 1 ? "bytes" : "UTF-16");
        WriteBytes(At("out.txt"), earlier.bytes);
        CliLaunch launch = Launch({}, "src.txt");
        launch.fileSizeLimit = limit;
        std::vector<std::string> expected;
        for (std::size_t before : outputBefore) {
            if (earlier.bytes.size() + earlier.width * before <= limit) {
                expected.push_back(kTooLong);
            }
        }
        expected.push_back(kReadWrite);
        expected.push_back(kFailed);
        CliProcess cli(launch);
        EXPECT_EQ(cli.Wait(), 1);
        EXPECT_TRUE(ReadBytes(At("out.txt")) == earlier.bytes);
        EXPECT_EQ(sif::test::SplitLines(ReadBytes(At(".stderr"))), expected);
    }
}

// The line modes: the multiline modes take no list.
INSTANTIATE_TEST_SUITE_P(LineModes, ListFileSizeLimit,
                         ::testing::ValuesIn(std::begin(kModes), std::begin(kModes) + 3),
                         [](const auto& info) { return std::string(info.param.name); });

// A pipe as the source keeps the run going for as long as the test likes.
class PipeSource {
  public:
    explicit PipeSource(const std::string& path) : path_(path) {
        ::mkfifo(path.c_str(), 0600);
        std::signal(SIGPIPE, SIG_IGN);
    }
    ~PipeSource() { Close(); }

    // Opens the writing end once the program has opened the reading end.
    bool OpenWhenRead(CliProcess& cli) {
        WaitUntil([&] {
            fd_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
            return fd_ >= 0 || !cli.Running();
        });
        return fd_ >= 0 && ::fcntl(fd_, F_SETFL, 0) == 0;
    }
    bool Write(const std::string& bytes) const {
        return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

  private:
    std::string path_;
    int fd_ = -1;
};

struct SignalCase {
    const char* name;
    int signal;
    ModeCase mode;
};

void PrintTo(const SignalCase& c, std::ostream* os) {
    *os << c.name;
}

class TerminationSignal : public CliBoundary, public ::testing::WithParamInterface<SignalCase> {};

TEST_P(TerminationSignal, CutsTheTargetBackAndEndsWithStatusOne) {
    const SignalCase& c = GetParam();
    WriteBytes(At("out.txt"), kEarlier);
    PipeSource source(At("src.txt"));
    CliProcess cli(Launch(c.mode.options, "src.txt"));
    ASSERT_TRUE(source.OpenWhenRead(cli)) << "the program never opened its source";
    ASSERT_TRUE(source.Write(BigSource(c.mode.resource)));
    // Part of the output is in the target, the run waits for more input.
    const auto grown = [&] { return std::filesystem::file_size(At("out.txt")) > sizeof kEarlier; };
    ASSERT_TRUE(WaitUntil(grown)) << "no output reached the target";
    cli.Signal(c.signal);
    EXPECT_EQ(cli.Wait(), 1);
    EXPECT_EQ(ReadBytes(At("out.txt")), kEarlier);
    EXPECT_EQ(LastErrLine().rfind("sifteron-cli: interrupted", 0), 0u) << LastErrLine();
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal,
                         ::testing::Values(SignalCase{"TermPositive", SIGTERM, kModes[0]},
                                           SignalCase{"IntResource", SIGINT, kModes[2]},
                                           SignalCase{"HupMultiline", SIGHUP, kModes[3]},
                                           SignalCase{"TermNegative", SIGTERM, kModes[1]}),
                         [](const auto& info) { return std::string(info.param.name); });

// Notices wait in the program to be written together; a signal writes those
// that are waiting before its own line.
TEST_F(CliBoundary, NoticesBeforeASignalComeBeforeItsLine) {
    WriteBytes(At("out.txt"), kEarlier);
    PipeSource source(At("src.txt"));
    CliProcess cli(Launch({}, "src.txt"));
    ASSERT_TRUE(source.OpenWhenRead(cli)) << "the program never opened its source";
    std::vector<std::size_t> outputBefore;
    ASSERT_TRUE(source.Write(LinesWithNotices(200, 100, &outputBefore)));
    const auto grown = [&] { return std::filesystem::file_size(At("out.txt")) > sizeof kEarlier; };
    ASSERT_TRUE(WaitUntil(grown)) << "no output reached the target";
    cli.Signal(SIGTERM);
    EXPECT_EQ(cli.Wait(), 1);
    const std::vector<std::string> lines = sif::test::SplitLines(ReadBytes(At(".stderr")));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back().rfind("sifteron-cli: interrupted", 0), 0u) << lines.back();
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i], kTooLong) << i;
    }
}

// The pipe as the program sees it: open, and the program asleep on it.
bool WaitsOnPipe(pid_t pid, const std::string& pipe) {
    const std::string proc = "/proc/" + std::to_string(pid);
    std::ifstream stat(proc + "/stat");
    std::string pidField, comm, state;
    stat >> pidField >> comm >> state;
    if (state != "S") {
        return false;
    }
    std::error_code ec;
    for (const auto& fd : std::filesystem::directory_iterator(proc + "/fd", ec)) {
        if (std::filesystem::read_symlink(fd.path(), ec) == pipe) {
            return true;
        }
    }
    return false;
}

TEST_F(CliBoundary, APipeSourceWaitsForItsWriter) {
    PipeSource source(At("src.txt"));
    CliProcess cli(Launch({}, "src.txt"));
    ASSERT_TRUE(WaitUntil([&] { return WaitsOnPipe(cli.pid(), At("src.txt")) || !cli.Running(); }));
    ASSERT_TRUE(cli.Running()) << "the pipe was read as empty before its writer came";
    ASSERT_TRUE(source.OpenWhenRead(cli));
    ASSERT_TRUE(source.Write("\"late\"\r\n"));
    source.Close();
    EXPECT_EQ(cli.Wait(), 0);
    EXPECT_EQ(ReadBytes(At("out.txt")), "late\r\n");
}

TEST_F(CliBoundary, ALostClosingMessageIsNoSuccess) {
    WriteBytes(At("src.txt"), "\"x\"\r\n");
    CliLaunch launch = Launch({}, "src.txt");
    launch.stderrFile = "/dev/full";
    CliProcess cli(launch);
    EXPECT_EQ(cli.Wait(), 1);
    EXPECT_EQ(ReadBytes(At("out.txt")), "x\r\n");
}

class InfoOnFullDevice : public CliBoundary, public ::testing::WithParamInterface<const char*> {};

TEST_P(InfoOnFullDevice, IsAWriteErrorWithStatusOne) {
    CliLaunch launch{{GetParam()}, dir.path().string(), "/dev/full", At(".stderr")};
    CliProcess cli(launch);
    EXPECT_EQ(cli.Wait(), 1);
    EXPECT_EQ(ReadBytes(At(".stderr")), "sifteron-cli: write error: No space left on device\n");
}

INSTANTIATE_TEST_SUITE_P(Options, InfoOnFullDevice, ::testing::Values("--help", "--version"),
                         [](const auto& info) { return std::string(info.param + 2); });

struct ListCase {
    const char* name;
    const char* list;
    int status;
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

class ListStatus : public CliBoundary, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListStatus, IsOneWhenAnyListedFileFailed) {
    WriteBytes(At("one.txt"), "\"1\"\r\n");
    WriteBytes(At("two.txt"), "\"2\"\r\n");
    WriteBytes(At("Liste.txt"), GetParam().list);
    CliProcess cli(Launch({}, "#LISTE#"));
    EXPECT_EQ(cli.Wait(), GetParam().status);
    EXPECT_EQ(LastErrLine(), "Meldung: Operation abgechlossen");
}

INSTANTIATE_TEST_SUITE_P(Lists, ListStatus,
                         ::testing::Values(ListCase{"AllFound", "one.txt\r\ntwo.txt\r\n", 0},
                                           ListCase{"OneMissing", "one.txt\r\nnone.txt\r\n", 1},
                                           ListCase{"ShortNamesAreSkipped", "one.txt\r\nab\r\n",
                                                    0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
