#include "engine/classify_resource_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace sif {
namespace {

struct ClassifyCase {
    const char* line;  // as stored, line end included
    int answer;
    const char* keywordAfter;
    int blockAfter;
};

// Runs `line` from an exactly sized heap copy, so that a read past its NUL is
// caught by the address sanitizer.
int Classify(const std::string& line) {
    auto copy = std::make_unique<char[]>(line.size() + 1);
    std::memcpy(copy.get(), line.c_str(), line.size() + 1);
    return ClassifyResourceLine(copy.get());
}

void ExpectCase(const ClassifyCase& c) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Classify(c.line), c.answer);
    EXPECT_STREQ(g_szKeyword, c.keywordAfter);
    EXPECT_EQ(g_bInStringTable, c.blockAfter);
}

void Reset(int block, const char* keyword) {
    g_bInStringTable = block;
    std::strcpy(g_szKeyword, keyword);
}

TEST(ClassifyResourceLine, FollowsAStringTableBlockLineByLine) {
    Reset(0, "POPUP");
    const ClassifyCase sequence[] = {
        {"STRINGTABLE DISCARDABLE\r\n", 1, "STRINGTABLE", 1},
        {"BEGIN\r\n", 1, "STRINGTABLE", 1},
        {"    IDS_A \"Hello\"\r\n", 1, "STRINGTABLE", 1},
        {"1 \"x\"\r\n", 1, "STRINGTABLE", 1},
        // "END" inside an identifier closes the block.
        {"    IDS_SEND \"Send\"\r\n", 0, "STRINGTABLE", 0},
        {"    IDS_B \"B\"\r\n", 0, "STRINGTABLE", 0},
    };
    for (const ClassifyCase& c : sequence) {
        ExpectCase(c);
    }
}

TEST(ClassifyResourceLine, ShortLinesKeepTheEarlierKeyword) {
    Reset(1, "CAPTION");
    ExpectCase({"1 \"x\"\r\n", 1, "CAPTION", 1});
    ExpectCase({"  2 \"b}\"\r\n", 0, "CAPTION", 0});  // "}" inside a string ends the block
}

TEST(ClassifyResourceLine, SingleLines) {
    struct SingleCase {
        int blockBefore;
        ClassifyCase expected;
    };
    const SingleCase cases[] = {
        {0, {"    CAPTION \"x\"\r\n", 1, "CAPTION", 0}},
        {0, {"    DEFPUSHBUTTON \"OK\",IDOK,1,2\r\n", 1, "PUSHBUTTON", 0}},
        {0, {"    CTEXT \"Centered\",IDC_X,1,2,3,4\r\n", 1, "CTEXT", 0}},
        {0, {"    MENUITEM \"&Open\",ID_OPEN\r\n", 1, "MENUITEM", 0}},
        {0, {"    CONTROL \"c\",1\r\n", 1, "CONTROL", 0}},
        {0, {"    RTEXT \"r\",1\r\n", 1, "RTEXT", 0}},
        {0, {"    POPUP \"&File\"\r\n", 1, "POPUP", 0}},
        {0, {"    EDITTEXT IDC_E,1,2,3,4\r\n", 0, "STRINGTABLE", 0}},
        {0, {"    caption \"x\"\r\n", 0, "STRINGTABLE", 0}},
        {0, {"    pushbutton \"x\"\r\n", 0, "STRINGTABLE", 0}},
        {0, {"    LTEXT CAPTION\r\n", 1, "LTEXT", 0}},
        {0, {"STRINGTABLE END x\r\n", 0, "STRINGTABLE", 0}},
        {0, {"END STRINGTABLE x\r\n", 1, "STRINGTABLE", 1}},
        {1, {"END CAPTION\r\n", 1, "CAPTION", 0}},
        // Markers right of the keyword are not seen.
        {1, {"CAPTION END\r\n", 1, "CAPTION", 1}},
        {0, {"CAPTION STRINGTABLE\r\n", 1, "CAPTION", 0}},
        {1, {"  2 \"b}\"\r\n", 0, "POPUP", 0}},
        // A keyword alone on its line is seen thanks to the line end.
        {0, {"CAPTION\r\n", 1, "CAPTION", 0}},
        {0, {"STRINGTABLE\r\n", 1, "STRINGTABLE", 1}},
        {1, {"END\r\n", 0, "POPUP", 0}},
        // Last lines without a line end that are nothing but the word.
        {1, {"END", 1, "POPUP", 1}},
        {1, {"}", 0, "POPUP", 0}},
        {0, {"CAPTION", 0, "POPUP", 0}},
        {0, {"STRINGTABLE", 0, "POPUP", 0}},
        {0, {"PUSHBUTTON", 0, "POPUP", 0}},
        {1, {"", 1, "POPUP", 1}},
        {0, {"", 0, "POPUP", 0}},
    };
    for (const SingleCase& c : cases) {
        Reset(c.blockBefore, "POPUP");
        ExpectCase(c.expected);
    }
}

TEST(ClassifyResourceLine, LooksAtTheFirst499CharactersOnly) {
    struct LongCase {
        size_t at;
        int answer;
    };
    const LongCase cases[] = {{490, 1}, {492, 1}, {493, 0}, {550, 0}};
    for (const LongCase& c : cases) {
        SCOPED_TRACE(c.at);
        std::string line(600, 'x');
        line.replace(c.at, 7, "CAPTION");
        Reset(0, "POPUP");
        EXPECT_EQ(Classify(line), c.answer);
        EXPECT_STREQ(g_szKeyword, c.answer == 1 ? "CAPTION" : "STRINGTABLE");
    }
}

TEST(ClassifyResourceLine, StopsAtTheFirstNul) {
    const char line[] = "    CAP\0TION \"x\"\r\n";
    Reset(0, "POPUP");
    EXPECT_EQ(ClassifyResourceLine(line), 0);
    EXPECT_STREQ(g_szKeyword, "POPUP");
}

}  // namespace
}  // namespace sif
