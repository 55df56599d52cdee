#include "engine/strip_delimited.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/line_limits.h"

namespace sif {
namespace {

struct StripCase {
    std::string line;  // as stored by the line operation
    std::string result;
    int returned;
};

std::string WithLineEnd(const std::string& text) {
    return text + "\r\n";
}

// A last line without a line end: the empty read stores a NUL as a byte.
std::string AtEndOfFile(const std::string& text) {
    return text + std::string(1, '\0');
}

// Runs the filter as the line operation does: in a line buffer, examining the
// stored bytes and the NUL after them.
void ExpectStrip(const StripCase& c, char left, char right) {
    SCOPED_TRACE(testing::PrintToString(c.line));
    char buffer[kLineBufferSize] = {};
    c.line.copy(buffer, c.line.size());
    const int examined = static_cast<int>(c.line.size()) + 1;
    EXPECT_EQ(StripDelimited(buffer, left, right, examined), c.returned);
    EXPECT_EQ(std::string(buffer), c.result);
}

TEST(StripDelimited, EqualDelimiters) {
    const StripCase cases[] = {
        {WithLineEnd("a \"x\" b \"y\""), "a  b \r\n", 7},
        {WithLineEnd("no quotes"), "no quotes\r\n", 11},
        {WithLineEnd("\"abc\""), "\r\n", 2},
        {WithLineEnd(""), "\r\n", 2},
        {WithLineEnd("abc \"def"), "abc ", 4},
        {WithLineEnd("a \"b\" c \"d"), "a  c ", 5},
        {WithLineEnd("\"abc"), "", 0},
        {WithLineEnd("x\\\"y\"z"), "x\\z\r\n", 5},  // the backslash escapes nothing
        {AtEndOfFile("abc"), "abc", 3},
        {AtEndOfFile("a \"b\" c"), "a  c", 4},
        {AtEndOfFile(""), "", 0},
    };
    for (const StripCase& c : cases) {
        ExpectStrip(c, '"', '"');
    }
}

TEST(StripDelimited, DifferentDelimiters) {
    const StripCase cases[] = {
        {WithLineEnd("a (b) c (d) e"), "a  c  e\r\n", 9},
        {WithLineEnd("x) (y) z"), "x  z\r\n", 6},
        {WithLineEnd("(a(b)c)d"), "cd\r\n", 4},
        {WithLineEnd("a(b"), "a", 1},
        {AtEndOfFile("a(b"), "a", 1},
    };
    for (const StripCase& c : cases) {
        ExpectStrip(c, '(', ')');
    }
}

TEST(StripDelimited, NulDelimitersOnlyMeetTheLineEnd) {
    // The scan ends at the NUL, so a NUL delimiter never opens a stretch that
    // matters, and a stretch it should close stays open.
    ExpectStrip({WithLineEnd("a \"b\" c"), "a \"b\" c\r\n", 9}, '\0', '\0');
    ExpectStrip({WithLineEnd("a(b) c"), "a", 1}, '(', '\0');
    ExpectStrip({AtEndOfFile("a)b"), "ab", 2}, '\0', ')');
}

TEST(StripDelimited, ExaminesOnlyWhatItIsTold) {
    char buffer[kLineBufferSize] = "ab\"c\"d\r\n";
    EXPECT_EQ(StripDelimited(buffer, '"', '"', 3), 2);
    EXPECT_STREQ(buffer, "ab");

    char empty[kLineBufferSize] = "abc";
    EXPECT_EQ(StripDelimited(empty, '"', '"', 0), 0);
    EXPECT_STREQ(empty, "");
}

TEST(StripDelimited, CutsTheResultAt499Characters) {
    std::string line(600, 'x');
    EXPECT_EQ(StripDelimited(line.data(), '"', '"', static_cast<int>(line.size()) + 1), 499);
    EXPECT_EQ(std::string(line.c_str()), std::string(499, 'x'));
}

}  // namespace
}  // namespace sif
