// The engine's per-line filters against the plain one-position-at-a-time
// reference, on generated lines full of delimiters, escapes and doubled
// quotes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "engine/extract_delimited.h"
#include "engine/line_limits.h"
#include "engine/strip_delimited.h"
#include "tests/engine/line_filter_reference.h"

namespace sif {
namespace {

struct Delimiters {
    char left;
    char right;
};

constexpr Delimiters kDelimiterPairs[] = {{'"', '"'}, {'(', ')'}, {'"', '\''}, {'\0', '\0'}};

// A line as the line operation stores it: text, then CR LF, LF, or the NUL of
// the end of the file; never more than 498 bytes.
std::string MakeLine(std::mt19937& random, const std::string& prefix) {
    static const char kAlphabet[] = "\"\"\"()''\\\\ab  \r";
    std::uniform_int_distribution<int> length(0, 497 - static_cast<int>(prefix.size()));
    std::uniform_int_distribution<int> pick(0, sizeof kAlphabet - 2);
    std::string line = prefix;
    for (int n = length(random); n > 0; --n) {
        line += kAlphabet[pick(random)];
    }
    switch (random() % 4) {
        case 0:
            line += '\0';
            break;
        case 1:
            line += '\n';
            break;
        default:
            line += "\r\n";
            break;
    }
    return line.substr(0, kLinePieceMax);
}

class LineFilterEquivalence : public ::testing::TestWithParam<Delimiters> {
  protected:
    std::mt19937 random{20261208u};
};

// Both extractors on the same generated lines; resource lines start with a
// keyword, so the classifier accepts every one of them.
void ExpectSameExtraction(std::mt19937& random, Delimiters d, bool resourceMode) {
    for (int i = 0; i < 4000; ++i) {
        const std::string line = MakeLine(random, resourceMode ? "LTEXT " : "");
        char fast[kLineBufferSize] = {};
        char plain[kLineBufferSize] = {};
        line.copy(fast, line.size());
        line.copy(plain, line.size());
        const int examined = static_cast<int>(line.size()) + 1;
        ExtractDelimited(fast, d.left, d.right, examined, resourceMode ? 1 : 0);
        test::ReferenceExtractDelimited(plain, d.left, d.right, examined, resourceMode);
        ASSERT_STREQ(fast, plain) << testing::PrintToString(line);
    }
}

TEST_P(LineFilterEquivalence, ExtractDelimitedInTextMode) {
    ExpectSameExtraction(random, GetParam(), false);
}

TEST_P(LineFilterEquivalence, ExtractDelimitedInResourceMode) {
    ExpectSameExtraction(random, GetParam(), true);
}

TEST_P(LineFilterEquivalence, StripDelimited) {
    const auto [left, right] = GetParam();
    for (int i = 0; i < 4000; ++i) {
        const std::string line = MakeLine(random, "");
        char fast[kLineBufferSize] = {};
        char plain[kLineBufferSize] = {};
        line.copy(fast, line.size());
        line.copy(plain, line.size());
        const int examined = static_cast<int>(line.size()) + 1;
        const int fastLength = StripDelimited(fast, left, right, examined);
        const int plainLength = test::ReferenceStripDelimited(plain, left, right, examined);
        ASSERT_EQ(fastLength, plainLength) << testing::PrintToString(line);
        ASSERT_EQ(std::string(fast, static_cast<std::size_t>(fastLength)),
                  std::string(plain, static_cast<std::size_t>(plainLength)));
    }
}

void PrintTo(const Delimiters& d, std::ostream* os) {
    *os << static_cast<int>(d.left) << '/' << static_cast<int>(d.right);
}

INSTANTIATE_TEST_SUITE_P(Pairs, LineFilterEquivalence, ::testing::ValuesIn(kDelimiterPairs));

}  // namespace
}  // namespace sif
