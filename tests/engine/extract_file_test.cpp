#include "engine/extract_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "engine/classify_resource_line.h"
#include "engine/language.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_dir.h"

namespace sif {
namespace {

using test::ReadBytes;
using test::WriteBytes;
using Lines = std::vector<std::string>;

const char kCreated[] = "Meldung: Zieldatei wird neu erzeugt";
const char kTooLong[] = "Fehlermeldung: Zeile zu lang > 500 Zeichen !";
const char kSourceMissing[] = "Fehlermeldung: Quelldatei nicht gefunden !";
const char kSameFile[] = "Fehlermeldung: Quelldatei == Zieldatei !";
const char kReadWrite[] = "Fehlermeldung: Fehler beim Lesen/Schreiben !";

class ExtractFileTest : public ::testing::Test {
  protected:
    void SetUp() override { SetMessageLanguage(0); }

    int Run(const std::string& source, const std::string& target, int kind = 0, int positive = 1,
            const char* left = "\"", const char* right = "\"") {
        return ExtractFile(source.c_str(), target.c_str(), left, right, kind, positive);
    }

    test::TempDir dir;
    test::RecordingMessageSink boxes;
    std::string src = dir.File("a.txt");
    std::string tgt = dir.File("out.txt");
};

TEST_F(ExtractFileTest, AppendsAfterTheLastByteOfAnExistingTarget) {
    WriteBytes(src, "x \"one\" y \"two\"\r\nnothing\r\n\"three\"\r\n");
    WriteBytes(tgt, "kept\r\n");
    EXPECT_EQ(Run(src, tgt), 1);
    EXPECT_EQ(ReadBytes(tgt), "kept\r\none\r\ntwo\r\nthree\r\n");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ExtractFileTest, CreatesAMissingTargetWithANoticeAndAppendsNextTime) {
    WriteBytes(src, "\"a\"\r\n");
    EXPECT_EQ(Run(src, tgt), 1);
    EXPECT_EQ(boxes.Lines(), Lines{kCreated});
    EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
    boxes.Clear();
    EXPECT_EQ(Run(src, tgt), 1);
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(ReadBytes(tgt), "a\r\na\r\n");
}

TEST_F(ExtractFileTest, EmptySourceStillCreatesTheTarget) {
    WriteBytes(src, "");
    EXPECT_EQ(Run(src, tgt), 1);
    EXPECT_TRUE(std::filesystem::exists(tgt));
    EXPECT_EQ(ReadBytes(tgt), "");
}

struct LineCase {
    const char* name;
    std::string source;
    int positive;
    std::string expected;
    int tooLongBoxes;
    const char* right = "\"";  // "" gives the delimiter NUL
};

// Keeps test names short in listings.
void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class ExtractFileLines : public ExtractFileTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ExtractFileLines, WritesTheFilteredLines) {
    const LineCase& c = GetParam();
    WriteBytes(tgt, "");
    WriteBytes(src, c.source);
    EXPECT_EQ(Run(src, tgt, 0, c.positive, "\"", c.right), 1);
    EXPECT_EQ(ReadBytes(tgt), c.expected);
    EXPECT_EQ(boxes.Lines(), Lines(c.tooLongBoxes, kTooLong));
}

std::string Quoted(std::size_t width) {
    return "\"" + std::string(width - 2, 'q') + "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractFileLines,
    ::testing::Values(
        LineCase{"LastLineWithoutLineEnd", "\"a\"\r\n\"b\"", 1, "a\r\nb\r\n", 0},
        LineCase{"LfOnlyLines", "\"a\"\n\"b\"\n", 1, "a\r\nb\r\n", 0},
        LineCase{"NulBytesEndTheLineForTheFilter", std::string("\"a\"\0\"b\"\r\n", 9), 1, "a\r\n",
                 0},
        LineCase{"Line495IsQuiet", Quoted(495) + "\r\n", 1, std::string(493, 'q') + "\r\n", 0},
        LineCase{"Line496IsTooLongButWhole", Quoted(496) + "\r\n", 1,
                 std::string(494, 'q') + "\r\n", 1},
        // 497 characters and the NUL stored for the final empty read.
        LineCase{"Last497WithoutLineEnd", Quoted(497), 1, std::string(495, 'q') + "\r\n", 1},
        // Pieces of 498, 498 and 204 bytes: a stretch across a cut is lost.
        LineCase{"Line1200InThreePieces",
                 "\"p1\"" + std::string(490, '.') + "\"ab" + std::string(697, '.') + "\"p3\"\r\n",
                 1, "p1\r\np3\r\n", 2},
        LineCase{"NegativeKeepsLineEnds", "a \"x\" b\r\n\"all\"\r\nc \"open\r\nd\r\n", 0,
                 "a  b\r\n\r\nc d\r\n", 0},
        LineCase{"NegativeLastLineWithoutEnd", "a \"b\" c", 0, "a  c", 0},
        // A NUL right delimiter meets the line's first NUL: the one stored for
        // the final empty read, or one inside the line. Nothing after it counts.
        LineCase{"NulRightClosesAtTheStoredNul", "\"two", 1, "two\r\n", 0, ""},
        LineCase{"NulRightFindsNoNulBeforeALineEnd", "\"two\r\n", 1, "", 0, ""},
        LineCase{"NulRightClosesAtAnEmbeddedNul", std::string("x\"ab\0cd\"\r\n", 10), 1, "ab\r\n",
                 0, ""},
        LineCase{"NegativeNulRightEndsTheStretchAndTheLine", std::string("x\"ab\0cd\"\r\n", 10), 0,
                 "x", 0, ""},
        LineCase{"NegativeNulRightLastLine", "a\"two", 0, "a", 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtractFileTest, ResourceLinesCarryKeywordAndSourceNameAsPassed) {
    WriteBytes(src,
               "IDD_X DIALOG 1, 2, 3, 4\r\nCAPTION \"Info\"\r\n    EDITTEXT IDC_E,1,2,3,4\r\n"
               "    DEFPUSHBUTTON \"OK\",IDOK,1,2,3,4\r\n");
    WriteBytes(tgt, "");
    test::ScopedCurrentDir cd(dir.path());
    EXPECT_EQ(ExtractFile("a.txt", "out.txt", "\"", "\"", 1, 1), 1);
    EXPECT_EQ(ReadBytes(tgt), "Info\tCAPTION\ta.txt\r\nOK\tPUSHBUTTON\ta.txt\r\n");
}

TEST_F(ExtractFileTest, LongSourceNamesAreWrittenWhole) {
    const std::string name = dir.File(std::string(200, 'n') + ".rc");
    WriteBytes(name, "CAPTION \"x\"\r\n");
    WriteBytes(tgt, "");
    EXPECT_EQ(Run(name, tgt, 1), 1);
    EXPECT_EQ(ReadBytes(tgt), "x\tCAPTION\t" + name + "\r\n");
}

TEST_F(ExtractFileTest, EachFileStartsOutsideAStringTable) {
    const std::string first = dir.File("first.rc");
    WriteBytes(first, "STRINGTABLE\r\nBEGIN\r\n");
    WriteBytes(src, "    IDS_A \"Hello\"\r\n");
    WriteBytes(tgt, "");
    EXPECT_EQ(Run(first, tgt, 1), 1);
    EXPECT_EQ(g_bInStringTable, 1);
    EXPECT_EQ(Run(src, tgt, 1), 1);
    EXPECT_EQ(ReadBytes(tgt), "");
}

TEST_F(ExtractFileTest, MissingSourceShowsOneBoxAndCreatesNothing) {
    EXPECT_EQ(Run(dir.File("missing.txt"), tgt), 0);
    EXPECT_EQ(boxes.Lines(), Lines{kSourceMissing});
    EXPECT_FALSE(std::filesystem::exists(tgt));
}

TEST_F(ExtractFileTest, DirectorySourceCountsAsMissing) {
    std::filesystem::create_directory(dir.File("d"));
    EXPECT_EQ(Run(dir.File("d"), tgt), 0);
    EXPECT_EQ(boxes.Lines(), Lines{kSourceMissing});
}

TEST_F(ExtractFileTest, TargetInAMissingFolderFailsAfterTheNotice) {
    WriteBytes(src, "\"a\"\r\n");
    EXPECT_EQ(Run(src, dir.File("nowhere/out.txt")), 0);
    EXPECT_EQ(boxes.Lines(), Lines{kCreated});
}

TEST_F(ExtractFileTest, DirectoryTargetIsLeftAlone) {
    WriteBytes(src, "\"a\"\r\n");
    std::filesystem::create_directory(tgt);
    EXPECT_EQ(Run(src, tgt), 0);
    EXPECT_EQ(boxes.Lines(), Lines{kCreated});
    EXPECT_TRUE(std::filesystem::is_directory(tgt));
    EXPECT_TRUE(std::filesystem::is_empty(tgt));
}

TEST_F(ExtractFileTest, SameFileUnderOtherNamesIsRefusedUntouched) {
    const std::string content = "\"a\" \"b\"\r\n";
    WriteBytes(src, content);
    std::filesystem::create_hard_link(src, dir.File("hard.txt"));
    test::ScopedCurrentDir cd(dir.path());
    const std::string viaParent = "../" + dir.path().filename().string() + "/a.txt";
    std::vector<std::string> names{"./a.txt", "hard.txt", viaParent};
#ifndef _WIN32
    // Windows lets only privileged users make symbolic links.
    std::filesystem::create_symlink(src, dir.File("link.txt"));
    names.push_back("link.txt");
#endif
    for (const std::string& name : names) {
        boxes.Clear();
        EXPECT_EQ(ExtractFile("a.txt", name.c_str(), "\"", "\"", 0, 0), 0) << name;
        EXPECT_EQ(boxes.Lines(), Lines{kSameFile}) << name;
        EXPECT_EQ(ReadBytes(src), content);
    }
}

TEST_F(ExtractFileTest, FullDeviceGivesReadWriteErrorAndTheTargetKeepsItsLength) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    std::string big;
    for (int i = 0; i < 20000; ++i) {
        big += "\"piece number " + std::to_string(i) + "\"\r\n";
    }
    WriteBytes(src, big);
    EXPECT_EQ(Run(src, "/dev/full"), 0);
    EXPECT_EQ(boxes.Lines(), Lines{kReadWrite});
}

TEST_F(ExtractFileTest, EnglishMessagesFollowTheEngineCopy) {
    SetMessageLanguage(1);
    EXPECT_EQ(Run(dir.File("missing.txt"), tgt), 0);
    EXPECT_EQ(boxes.Lines(), Lines{"Errormessage: source file not found !"});
}

}  // namespace
}  // namespace sif
