#include "engine/extract_delimited.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "engine/classify_resource_line.h"

namespace sif {
namespace {

struct Case {
    const char* line;  // without its line end
    char left;
    char right;
    int resource;
    const char* expected;
};

// Keeps test names short in listings.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.line;
}

// Runs the extractor as the line operation does: line with CR LF, examined
// length = stored bytes + 1.
std::string Extract(const std::string& text, char left, char right, int resource) {
    char line[510] = {};
    const std::string stored = text + "\r\n";
    std::memcpy(line, stored.data(), stored.size());
    ExtractDelimited(line, left, right, static_cast<int>(stored.size()) + 1, resource);
    return line;
}

class ExtractDelimitedTable : public ::testing::TestWithParam<Case> {};

TEST_P(ExtractDelimitedTable, KeepsTheDelimitedPieces) {
    const Case& c = GetParam();
    g_bInStringTable = 0;
    EXPECT_EQ(Extract(c.line, c.left, c.right, c.resource), c.expected) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    TextQuotes, ExtractDelimitedTable,
    ::testing::Values(Case{R"(a "x" b "y")", '"', '"', 0, "x\r\ny"},
                      Case{"no quotes", '"', '"', 0, ""}, Case{R"("abc)", '"', '"', 0, ""},
                      Case{R"(x"y")", '"', '"', 0, "y"}, Case{R"("a\"b")", '"', '"', 0, R"(a\"b)"},
                      Case{R"(\"a" "b")", '"', '"', 0, "a\r\nb"},
                      Case{R"("a""b")", '"', '"', 0, "a\r\nb"}, Case{R"("")", '"', '"', 0, ""},
                      Case{R"("" "")", '"', '"', 0, "\r\n"},
                      Case{R"("a\\"b")", '"', '"', 0, R"(a\\"b)"}));

INSTANTIATE_TEST_SUITE_P(TextParentheses, ExtractDelimitedTable,
                         ::testing::Values(Case{"a (b) c (d) e", '(', ')', 0, "b\r\nd"},
                                           Case{"x) (y)", '(', ')', 0, "y"},
                                           Case{"((a))", '(', ')', 0, "(a"},
                                           Case{R"((a\)b))", '(', ')', 0, R"(a\)b)"},
                                           Case{R"(\(a))", '(', ')', 0, "a"}));

INSTANTIATE_TEST_SUITE_P(
    ResourceLines, ExtractDelimitedTable,
    ::testing::Values(Case{R"(CAPTION "Hello ""x"" there")", '"', '"', 1, R"(Hello ""x"" there)"},
                      Case{R"(CAPTION "say ""hi""")", '"', '"', 1, R"(say ""hi"")"},
                      Case{R"(CAPTION """")", '"', '"', 1, R"("")"},
                      Case{R"(LTEXT "a","b",IDC_X,1,2,3,4)", '"', '"', 1, "a"},
                      Case{R"(CAPTION "")", '"', '"', 1, ""},
                      Case{R"(CAPTION "a\"b")", '"', '"', 1, R"(a\"b)"},
                      Case{R"(GROUPBOX "Frame",IDC_G,1,2,3,4)", '"', '"', 1, ""},
                      Case{"LTEXT (a) (b)", '(', ')', 1, "a"}));

TEST(ExtractDelimited, ExaminesNothingBeyondTheGivenLength) {
    char line[16] = "\"ab\"\"cd\"";
    ExtractDelimited(line, '"', '"', 5, 0);  // positions 0..3: one piece
    EXPECT_STREQ(line, "ab");

    char empty[4] = "\"\"";
    ExtractDelimited(empty, '"', '"', 1, 0);
    EXPECT_STREQ(empty, "");
}

TEST(ExtractDelimited, StopsAtAnEmbeddedNul) {
    char line[16] = "\"a\"\0\"b\"";
    ExtractDelimited(line, '"', '"', 9, 0);
    EXPECT_STREQ(line, "a");
}

TEST(ExtractDelimited, NulDelimitersFindNothingInsideTheText) {
    EXPECT_EQ(Extract("a \"x\" b", '\0', '\0', 0), "");
}

// Stored bytes as the line operation leaves them, the examined length being
// their count + 1.
struct StoredCase {
    const char* name;
    std::string stored;
    int resource;
    const char* expected;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << c.name;
}

class NulRightDelimiter : public ::testing::TestWithParam<StoredCase> {};

TEST_P(NulRightDelimiter, ClosesAtTheFirstNulAndLooksNoFurther) {
    const StoredCase& c = GetParam();
    char line[510] = {};
    std::memcpy(line, c.stored.data(), c.stored.size());
    g_bInStringTable = 0;
    ExtractDelimited(line, '"', '\0', static_cast<int>(c.stored.size()) + 1, c.resource);
    EXPECT_STREQ(line, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NulRightDelimiter,
    ::testing::Values(StoredCase{"LastLineStoredNul", std::string("\"two\0", 5), 0, "two"},
                      StoredCase{"LineEndNoNul", "\"two\r\n", 0, ""},
                      StoredCase{"EmbeddedNul", std::string("x\"ab\0cd\"\r\n", 10), 0, "ab"},
                      StoredCase{"BackslashBeforeNul", std::string("\"a\\\0", 4), 0, ""},
                      StoredCase{"ResourceLastLine", std::string("CAPTION \"Hi\0", 12), 1, "Hi"},
                      StoredCase{"NulNotExamined", "\"two", 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExtractDelimited, NeverWritesPastTheLineOnFullLines) {
    // A 498-byte piece of quote pairs: the result can never outgrow it.
    std::string text;
    while (text.size() < 496) {
        text += "\"\"";
    }
    char line[510] = {};
    std::memcpy(line, text.data(), text.size());
    ExtractDelimited(line, '"', '"', static_cast<int>(text.size()) + 1, 0);
    EXPECT_LE(std::strlen(line), text.size());
}

}  // namespace
}  // namespace sif
