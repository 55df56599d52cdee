// Runs whose file calls fail, are interrupted or come up short, driven through
// the raw file calls' fault seam.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/extract_request.h"
#include "engine/run_extraction.h"
#include "tests/support/fault_plan.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_dir.h"

namespace sif {
namespace {

using os::Call;
using os::Fault;
using test::FaultPlan;
using test::ReadBytes;
using test::WriteBytes;
using Lines = std::vector<std::string>;

const char kListMode[] = "Meldung: Listendatei abarbeiten";
const char kCompleted[] = "Meldung: Operation abgechlossen";
const char kFailed[] = "Fehlermeldung: Datei ex, nicht/Erzeugung fehlgeschlagen !";
const char kReadWrite[] = "Fehlermeldung: Fehler beim Lesen/Schreiben !";
const char kIncomplete[] = "Fehlermeldung: Zieldatei unvollstaendig ergaenzt !";

ExtractRequest Request(const std::string& source, ExtractMode mode = ModePositive) {
    ExtractRequest r;
    r.szSource = source;
    r.szTarget = "out.txt";
    SetDelimiterField(r.szLeft, "\"");
    SetDelimiterField(r.szRight, "\"");
    r.nKind = KindText;
    r.nMode = mode;
    return r;
}

// Many short quoted records: several write buffers of output.
std::string Records(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "a \"record " + std::to_string(i) + "\" b\r\n";
    }
    return text;
}

class FileFaults : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::ScopedCurrentDir cd{dir.path()};
    test::RecordingMessageSink boxes;
};

// --- A list file that cannot be read ------------------------------------

struct ListCase {
    const char* name;
    bool failLastRead;  // else the first read of the list fails
    Lines boxes;
    std::string target;
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

class UnreadableList : public FileFaults, public ::testing::WithParamInterface<ListCase> {};

TEST_P(UnreadableList, IsAFailedRunThatKeepsWhatWasAppended) {
    const ListCase& c = GetParam();
    WriteBytes("a.txt", "\"A\"\r\n");
    WriteBytes("b.txt", "\"B\"\r\n");
    WriteBytes("Liste.txt", "a.txt\r\nb.txt\r\n");
    WriteBytes("out.txt", "old\r\n");
    int failingRead = 1;
    if (c.failLastRead) {
        // The list's last read, which finds its end, comes after every
        // listed file's reads.
        FaultPlan count;
        RunRequest(Request("#LISTE#"), nullptr);
        failingRead = count.Calls(Call::Read);
        WriteBytes("out.txt", "old\r\n");
        boxes.Clear();
    }
    FaultPlan plan;
    plan.At(Call::Read, failingRead, Fault::Fail);
    const RunOutcome outcome = RunRequest(Request("#LISTE#"), nullptr);
    EXPECT_TRUE(IsErrorOutcome(outcome));
    EXPECT_EQ(boxes.Lines(), c.boxes);
    EXPECT_EQ(ReadBytes("out.txt"), c.target);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnreadableList,
    ::testing::Values(ListCase{"FirstRead", false, {kListMode, kReadWrite, kCompleted}, "old\r\n"},
                      ListCase{"AfterTheListedFiles",
                               true,
                               {kListMode, kReadWrite, kCompleted},
                               "old\r\nA\r\nB\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- A write that fails, and a cut-back that fails too ----------------------

struct CutCase {
    const char* name;
    ExtractMode mode;
    int failingCuts;
    bool restored;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class FailingCutBack : public FileFaults, public ::testing::WithParamInterface<CutCase> {};

TEST_P(FailingCutBack, IsRetriedOnceAndToldWhenTheTargetStaysAppended) {
    const CutCase& c = GetParam();
    WriteBytes("a.txt", Records(20000));
    WriteBytes("out.txt", "old\r\n");
    FaultPlan plan;
    // The first buffer's worth reaches the target, the second fails.
    plan.At(Call::Write, 2, Fault::Fail);
    if (c.failingCuts > 0) {
        plan.At(Call::Cut, 1, Fault::Fail, c.failingCuts);
    }
    const RunOutcome outcome = RunRequest(Request("a.txt", c.mode), nullptr);
    EXPECT_TRUE(IsErrorOutcome(outcome));
    Lines expected{kReadWrite};
    if (!c.restored) {
        expected.push_back(kIncomplete);
    }
    expected.push_back(kFailed);
    EXPECT_EQ(boxes.Lines(), expected);
    const std::string target = ReadBytes("out.txt");
    if (c.restored) {
        EXPECT_EQ(target, "old\r\n");
    } else {
        EXPECT_GT(target.size(), 5u);
        EXPECT_EQ(target.substr(0, 5), "old\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailingCutBack,
    ::testing::Values(CutCase{"LinesCutAtOnce", ModePositive, 0, true},
                      CutCase{"LinesCutOnRetry", ModePositive, 1, true},
                      CutCase{"LinesNotCut", ModePositive, 2, false},
                      CutCase{"MultilineCutOnRetry", ModeMultilinePositive, 1, true},
                      CutCase{"MultilineNotCut", ModeMultilinePositive, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Calls that are interrupted or come up short ----------------------------

struct InterruptCase {
    const char* name;
    Call call;
    Fault fault;
    ExtractMode mode;
};

void PrintTo(const InterruptCase& c, std::ostream* os) {
    *os << c.name;
}

class PartialCalls : public FileFaults, public ::testing::WithParamInterface<InterruptCase> {};

TEST_P(PartialCalls, GoOnToTheSameTargetAndOutcome) {
    const InterruptCase& c = GetParam();
    WriteBytes("a.txt", Records(20000));
    WriteBytes("out.txt", "old\r\n");
    ASSERT_FALSE(IsErrorOutcome(RunRequest(Request("a.txt", c.mode), nullptr)));
    const std::string expected = ReadBytes("out.txt");
    const Lines expectedBoxes = boxes.Lines();

    WriteBytes("out.txt", "old\r\n");
    boxes.Clear();
    FaultPlan plan;
    plan.Every(c.call, 2, c.fault);
    EXPECT_FALSE(IsErrorOutcome(RunRequest(Request("a.txt", c.mode), nullptr)));
    EXPECT_GT(plan.Calls(c.call), 2);
    EXPECT_EQ(boxes.Lines(), expectedBoxes);
    EXPECT_EQ(ReadBytes("out.txt"), expected);
}

const InterruptCase kPartialCalls[] = {
#ifndef _WIN32
    // Windows calls are never interrupted.
    {"InterruptedWrites", Call::Write, Fault::Interrupt, ModePositive},
    {"InterruptedReads", Call::Read, Fault::Interrupt, ModeNegative},
    {"InterruptedMultiline", Call::Write, Fault::Interrupt, ModeMultilineNegative},
#endif
    {"ShortWrites", Call::Write, Fault::Short, ModePositive},
    {"ShortReads", Call::Read, Fault::Short, ModeNegative},
    {"ShortMultilineWrites", Call::Write, Fault::Short, ModeMultilinePositive},
};

INSTANTIATE_TEST_SUITE_P(Cases, PartialCalls, ::testing::ValuesIn(kPartialCalls),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sif
