#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "bench/rc_corpus.h"
#include "bench/text_corpus.h"

namespace {

using Writer = void (*)(std::ostream&, std::uint64_t);

std::string Make(Writer write, std::uint64_t bytes) {
    std::ostringstream out;
    write(out, bytes);
    return out.str();
}

struct Kind {
    const char* name;
    Writer write;
    std::size_t longest_unit;  // upper bound of one line (text) or one block (rc)
};

const Kind kKinds[] = {
    {"text", bench::WriteTextCorpus, 4096},
    {"rc", bench::WriteResourceCorpus, 8192},
};

TEST(BenchCorpus, SameSizeGivesSameBytesAndSmallerIsPrefixOfLarger) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const std::string small = Make(kind.write, 100'000);
        EXPECT_EQ(small, Make(kind.write, 100'000));
        const std::string large = Make(kind.write, 400'000);
        // The memory check compares a small and a large run of the same text.
        EXPECT_EQ(large.compare(0, small.size(), small), 0);
    }
}

TEST(BenchCorpus, SizeIsReachedAndStopsAtALineEnd) {
    for (const Kind& kind : kKinds) {
        for (const std::uint64_t bytes : {1ull, 5'000ull, 300'000ull}) {
            SCOPED_TRACE(std::string(kind.name) + " " + std::to_string(bytes));
            const std::string corpus = Make(kind.write, bytes);
            EXPECT_GE(corpus.size(), bytes);
            EXPECT_LT(corpus.size(), bytes + kind.longest_unit);
            ASSERT_GE(corpus.size(), 2u);
            EXPECT_EQ(corpus.substr(corpus.size() - 2), "\r\n");
        }
    }
}

TEST(BenchCorpus, EveryLineEndsInCrLf) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const std::string corpus = Make(kind.write, 500'000);
        for (std::size_t i = 0; i < corpus.size(); ++i) {
            if (corpus[i] == '\n') {
                ASSERT_TRUE(i > 0 && corpus[i - 1] == '\r') << "bare LF at " << i;
            } else if (corpus[i] == '\r') {
                ASSERT_TRUE(i + 1 < corpus.size() && corpus[i + 1] == '\n') << "bare CR at " << i;
            }
        }
    }
}

struct LineCounts {
    std::size_t lines = 0, long_lines = 0, odd_quote_lines = 0, quoted_lines = 0;
};

LineCounts CountLines(std::string_view corpus) {
    LineCounts counts;
    std::size_t start = 0;
    while (start < corpus.size()) {
        const std::size_t end = corpus.find('\n', start);
        const std::string_view line = corpus.substr(start, end - start + 1);
        std::size_t quotes = 0;
        for (const char c : line) {
            quotes += c == '"';
        }
        ++counts.lines;
        counts.long_lines += line.size() > 500;
        counts.odd_quote_lines += quotes % 2;
        counts.quoted_lines += quotes >= 2;
        start = end + 1;
    }
    return counts;
}

TEST(BenchCorpus, TextHasQuotesEscapesUnclosedStretchesAndLongLines) {
    const std::string corpus = Make(bench::WriteTextCorpus, 2'000'000);
    const LineCounts counts = CountLines(corpus);
    EXPECT_GT(counts.quoted_lines * 2, counts.lines);  // most lines hold a string
    EXPECT_GT(counts.long_lines, 20u);
    EXPECT_LT(counts.long_lines * 50, counts.lines);  // but long lines stay rare
    EXPECT_GT(counts.odd_quote_lines, 20u);
    EXPECT_NE(corpus.find("\\\""), std::string::npos);
}

TEST(BenchCorpus, ResourceScriptHasEveryStatement) {
    const std::string corpus = Make(bench::WriteResourceCorpus, 1'000'000);
    for (const char* word : {" DIALOGEX ",
                             " DIALOG ",
                             "CAPTION \"",
                             "    LTEXT ",
                             "    CTEXT ",
                             "    RTEXT ",
                             "    PUSHBUTTON ",
                             "    DEFPUSHBUTTON ",
                             "    CONTROL ",
                             "    EDITTEXT ",
                             "    GROUPBOX ",
                             " MENU\r\n",
                             "    POPUP \"",
                             "MENUITEM \"",
                             "MENUITEM SEPARATOR",
                             "\r\nSTRINGTABLE\r\n",
                             "STRINGTABLE DISCARDABLE\r\n",
                             "\r\nBEGIN\r\n",
                             "\r\nEND\r\n",
                             "\"\"",
                             "VERSIONINFO"}) {
        EXPECT_NE(corpus.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(CountLines(corpus).long_lines, 0u);
}

}  // namespace
