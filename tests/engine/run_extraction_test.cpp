#include "engine/run_extraction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "engine/language.h"
#include "engine/messages.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_dir.h"

namespace sif {
namespace {

using test::ReadBytes;
using test::WriteBytes;
using Lines = std::vector<std::string>;

// A stand-in for the main dialog's window.
HWND const kMainWindow = reinterpret_cast<HWND>(0x1234);

const char kListMode[] = "Meldung: Listendatei abarbeiten";
const char kListMissing[] = "Fehlermeldung: Liste,txt nicht gefunden !";
const char kCompleted[] = "Meldung: Operation abgechlossen";
const char kFailed[] = "Fehlermeldung: Datei ex, nicht/Erzeugung fehlgeschlagen !";
const char kSourceMissing[] = "Fehlermeldung: Quelldatei nicht gefunden !";
const char kCreated[] = "Meldung: Zieldatei wird neu erzeugt";
const char kSameName[] = "Fehlermeldung: Quelldatei == Zieldatei !";
const char kMultilineOk[] = "Meldung: Mehrzeilige Operation ok";

class RunTest : public ::testing::Test {
  protected:
    ExtractRequest Request(const std::string& source, const std::string& target,
                           ExtractMode mode = ModePositive, SourceKind kind = KindText) {
        ExtractRequest r;
        r.szSource = source;
        r.szTarget = target;
        SetDelimiterField(r.szLeft, "\"");
        SetDelimiterField(r.szRight, "\"");
        r.nKind = kind;
        r.nMode = mode;
        return r;
    }

    UINT Run(const ExtractRequest& r) { return RunRequest(r, kMainWindow).closingId; }

    std::vector<HWND> Owners() const {
        std::vector<HWND> owners;
        for (const auto& box : boxes.boxes()) {
            owners.push_back(box.owner);
        }
        return owners;
    }

    test::TempDir dir;
    test::ScopedCurrentDir cd{dir.path()};
    test::RecordingMessageSink boxes;
};

struct NameCase {
    const char* name;
    const char* source;
    const char* target;
    ExtractMode mode;
};

// Keeps test names short in listings.
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class EqualNames : public RunTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(EqualNames, AreRefusedBeforeAnythingIsOpened) {
    const NameCase& c = GetParam();
    WriteBytes("same.txt", "\"x\"\r\n");
    EXPECT_EQ(Run(Request(c.source, c.target, c.mode)), kMsgSameFile);
    EXPECT_EQ(boxes.Lines(), Lines{kSameName});
    EXPECT_EQ(Owners(), std::vector<HWND>{kMainWindow});
    EXPECT_EQ(ReadBytes("same.txt"), "\"x\"\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EqualNames,
    ::testing::Values(NameCase{"BothEmpty", "", "", ModePositive},
                      NameCase{"ListKeyword", "#LISTE#", "#LISTE#", ModePositive},
                      NameCase{"Negative", "same.txt", "same.txt", ModeNegative},
                      NameCase{"MultilinePositive", "same.txt", "same.txt", ModeMultilinePositive},
                      NameCase{"MultilineNegative", "same.txt", "same.txt", ModeMultilineNegative}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunTest, SingleFileRunClosesWithCompletedOwnedByTheWindow) {
    WriteBytes("a.txt", "a \"x\" b\r\n");
    EXPECT_EQ(Run(Request("a.txt", "out.txt")), kMsgCompleted);
    EXPECT_EQ(boxes.Lines(), (Lines{kCreated, kCompleted}));
    EXPECT_EQ(Owners(), (std::vector<HWND>{nullptr, kMainWindow}));
    EXPECT_EQ(ReadBytes("out.txt"), "x\r\n");
}

TEST_F(RunTest, MissingSourceGivesTwoBoxes) {
    EXPECT_EQ(Run(Request("#liste#", "out.txt")), kMsgFileFailed);
    EXPECT_EQ(boxes.Lines(), (Lines{kSourceMissing, kFailed}));
    EXPECT_EQ(Owners(), (std::vector<HWND>{nullptr, kMainWindow}));
}

TEST_F(RunTest, ResourceKindIgnoresTheModeAndRunsPositive) {
    WriteBytes("a.rc", "CAPTION \"Hi\"\r\n");
    WriteBytes("out.txt", "");
    EXPECT_EQ(Run(Request("a.rc", "out.txt", ModeMultilineNegative, KindResource)), kMsgCompleted);
    EXPECT_EQ(ReadBytes("out.txt"), "Hi\tCAPTION\ta.rc\r\n");
}

TEST_F(RunTest, NegativeModeKeepsTheOutside) {
    WriteBytes("a.txt", "a \"x\" b\r\n");
    WriteBytes("out.txt", "");
    EXPECT_EQ(Run(Request("a.txt", "out.txt", ModeNegative)), kMsgCompleted);
    EXPECT_EQ(ReadBytes("out.txt"), "a  b\r\n");
}

TEST_F(RunTest, MultilineRunClosesWithItsNotice) {
    WriteBytes("a.txt", "a \"x\r\ny\" b");
    WriteBytes("out.txt", "");
    EXPECT_EQ(Run(Request("a.txt", "out.txt", ModeMultilinePositive)), kMsgMultilineOk);
    EXPECT_EQ(boxes.Lines(), Lines{kMultilineOk});
    EXPECT_EQ(ReadBytes("out.txt"), "x\r\ny");
}

TEST_F(RunTest, MultilineRunWithAMissingSourceFails) {
    EXPECT_EQ(Run(Request("missing.txt", "out.txt", ModeMultilineNegative)), kMsgFileFailed);
    EXPECT_EQ(boxes.Lines(), (Lines{kSourceMissing, kFailed}));
}

TEST_F(RunTest, EnglishRequestSpeaksEnglishThroughout) {
    ExtractRequest r = Request("missing.txt", "out.txt");
    r.bEnglish = 1;
    Run(r);
    EXPECT_EQ(boxes.Lines(), (Lines{"Errormessage: source file not found !",
                                    "Errormessage: no file found/creation failed !"}));
    EXPECT_EQ(g_bMsgEnglish, 1);
}

// --- list mode ---

TEST_F(RunTest, MissingListFile) {
    EXPECT_EQ(Run(Request("#LISTE#", "out.txt")), kMsgListMissing);
    EXPECT_EQ(boxes.Lines(), (Lines{kListMode, kListMissing}));
    EXPECT_EQ(Owners(), (std::vector<HWND>{kMainWindow, kMainWindow}));
}

TEST_F(RunTest, EmptyListFile) {
    WriteBytes("Liste.txt", "");
    EXPECT_EQ(Run(Request("#Liste#", "out.txt")), kMsgCompleted);
    EXPECT_EQ(boxes.Lines(), (Lines{kListMode, kCompleted}));
}

TEST_F(RunTest, LowerCaseListFileIsFoundToo) {
    WriteBytes("liste.txt", "a.txt");
    WriteBytes("a.txt", "\"a\"");
    WriteBytes("out.txt", "");
    EXPECT_EQ(Run(Request("#LISTE#", "out.txt")), kMsgCompleted);
    EXPECT_EQ(ReadBytes("out.txt"), "a\r\n");
}

TEST_F(RunTest, ListWalkSkipsShortNamesAndGoesOnAfterFailures) {
    WriteBytes("a.txt", "\"from a\"\r\n");
    WriteBytes("b.txt", "\"from b\"\r\n");
    WriteBytes("    ", "\"four blanks\"\r\n");
    WriteBytes("out.txt", "");
    // CR LF, blank, 3-character, missing, LF-only, four blanks, no final line end.
    WriteBytes("Liste.txt", "a.txt\r\n\r\na.c\r\nmissing.txt\r\nb.txt\n    \r\na.txt");
    EXPECT_EQ(Run(Request("#LISTE#", "out.txt")), kMsgCompleted);
#ifdef _WIN32
    // Windows drops trailing blanks from a name: "    " names no file.
    EXPECT_EQ(ReadBytes("out.txt"), "from a\r\nfrom b\r\nfrom a\r\n");
    EXPECT_EQ(boxes.Lines(),
              (Lines{kListMode, kSourceMissing, kFailed, kSourceMissing, kFailed, kCompleted}));
#else
    EXPECT_EQ(ReadBytes("out.txt"), "from a\r\nfrom b\r\nfour blanks\r\nfrom a\r\n");
    EXPECT_EQ(boxes.Lines(), (Lines{kListMode, kSourceMissing, kFailed, kCompleted}));
    EXPECT_EQ(Owners(), (std::vector<HWND>{kMainWindow, nullptr, kMainWindow, kMainWindow}));
#endif
}

TEST_F(RunTest, ListedResourceScriptsCarryTheirListedNameAndTheKeyword) {
    WriteBytes("one.rc", "STRINGTABLE\r\nBEGIN\r\n  IDS_A \"A\"\r\nEND\r\nCAPTION \"Cap\"\r\n");
    // A short string-table entry leaves the keyword as the last line set it.
    WriteBytes("two.rc", "STRINGTABLE CAPTION\r\n1 \"x\"\r\n");
    WriteBytes("out.txt", "");
    WriteBytes("Liste.txt", "./one.rc\r\ntwo.rc\r\n");
    EXPECT_EQ(Run(Request("#LISTE#", "out.txt", ModePositive, KindResource)), kMsgCompleted);
    EXPECT_EQ(ReadBytes("out.txt"),
              "A\tSTRINGTABLE\t./one.rc\r\nCap\tCAPTION\t./one.rc\r\nx\tCAPTION\ttwo.rc\r\n");
}

TEST_F(RunTest, ListNamingTheTargetIsRefusedBeforeAnythingIsProcessed) {
    WriteBytes("Liste.txt", "a.txt\r\n");
    WriteBytes("a.txt", "\"a\"\r\n");
    EXPECT_EQ(Run(Request("#LISTE#", "./Liste.txt")), kMsgSameFile);
    EXPECT_EQ(boxes.Lines(), (Lines{kListMode, kSameName}));
    EXPECT_EQ(ReadBytes("Liste.txt"), "a.txt\r\n");
}

TEST_F(RunTest, ListedTargetIsRefusedAndTheWalkGoesOn) {
    WriteBytes("out.txt", "\"old\"\r\n");
    WriteBytes("a.txt", "\"a\"\r\n");
    WriteBytes("Liste.txt", "out.txt\r\na.txt\r\n");
    EXPECT_EQ(Run(Request("#LISTE#", "out.txt", ModeNegative)), kMsgCompleted);
    EXPECT_EQ(boxes.Lines(), (Lines{kListMode, kSameName, kFailed, kCompleted}));
    EXPECT_EQ(ReadBytes("out.txt"), "\"old\"\r\n\r\n");
}

// A full device as the target: the boxes are those that unbuffered writes,
// one per line, would have given. The first failed write ends the run.
struct FullDeviceCase {
    const char* name;
    std::string source;
    ExtractMode mode;
    SourceKind kind;
    Lines boxes;
};

// Keeps test names short in listings.
void PrintTo(const FullDeviceCase& c, std::ostream* os) {
    *os << c.name;
}

class FullDevice : public RunTest, public ::testing::WithParamInterface<FullDeviceCase> {};

TEST_P(FullDevice, ReportsTheFailedWriteWhereItHappened) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    const FullDeviceCase& c = GetParam();
    WriteBytes("a.txt", c.source);
    Run(Request("a.txt", "/dev/full", c.mode, c.kind));
    EXPECT_EQ(boxes.Lines(), c.boxes);
    // Where boxes only gather, the writes are gathered too; a failed one is
    // redone up to each notice, with the same boxes.
    test::RecordingMessageSink gathered(true);
    Run(Request("a.txt", "/dev/full", c.mode, c.kind));
    EXPECT_EQ(gathered.Lines(), c.boxes);
}

const char kTooLong[] = "Fehlermeldung: Zeile zu lang > 500 Zeichen !";
const char kReadWrite[] = "Fehlermeldung: Fehler beim Lesen/Schreiben !";
const std::string kLong(1200, '.');

INSTANTIATE_TEST_SUITE_P(
    Cases, FullDevice,
    ::testing::Values(
        FullDeviceCase{"ShortThenLong",
                       "\"a\"\r\n" + kLong + "\r\n",
                       ModePositive,
                       KindText,
                       {kReadWrite, kFailed}},
        FullDeviceCase{"NegativeShortThenLong",
                       "a\r\n" + kLong + "\r\n",
                       ModeNegative,
                       KindText,
                       {kReadWrite, kFailed}},
        FullDeviceCase{"ResourceShortThenLong",
                       "CAPTION \"a\"\r\n" + kLong + "\r\n",
                       ModePositive,
                       KindResource,
                       {kReadWrite, kFailed}},
        // Its first piece is announced before it is written.
        FullDeviceCase{"LongFirst",
                       "\"a\"" + kLong + "\r\n",
                       ModePositive,
                       KindText,
                       {kTooLong, kReadWrite, kFailed}},
        // Lines that keep nothing write nothing, so nothing fails before them.
        FullDeviceCase{"LongWithoutOutputThenShort",
                       kLong + "\r\n\"a\"\r\n",
                       ModePositive,
                       KindText,
                       {kTooLong, kTooLong, kReadWrite, kFailed}},
        FullDeviceCase{
            "Multiline", "\"a\"" + kLong, ModeMultilinePositive, KindText, {kReadWrite, kFailed}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sif
