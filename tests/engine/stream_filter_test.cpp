#include "engine/stream_filter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/engine/stream_filter_reference.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_dir.h"

namespace sif {
namespace {

using test::ReadBytes;
using test::RecordingMessageSink;
using test::ReferenceStreamFilter;
using test::WriteBytes;

class StreamFilterTest : public testing::Test {
  protected:
    // Filters `source` into a target that held `before`; returns the target.
    std::string Run(const std::string& source, const char* left, const char* right, int mode,
                    const std::string& before = "") {
        WriteBytes(sourceName_, source);
        std::filesystem::remove(targetName_);
        if (!before.empty()) {
            WriteBytes(targetName_, before);
        }
        EXPECT_EQ(StreamFilter(sourceName_.c_str(), targetName_.c_str(), left, right, mode), 1);
        EXPECT_TRUE(sink_.boxes().empty());
        return ReadBytes(targetName_);
    }

    test::TempDir dir_;
    std::string sourceName_ = dir_.File("source.txt");
    std::string targetName_ = dir_.File("target.txt");
    RecordingMessageSink sink_;
};

TEST_F(StreamFilterTest, EdgeCases) {
    struct Case {
        std::string source;
        const char* left;
        const char* right;
        int mode;
        std::string kept;
    };
    const std::string acrossLines = "ab \"cd\r\nef\" gh\r\n";
    const Case cases[] = {
        {acrossLines, "\"", "\"", 0, "cd\r\nef"},
        {acrossLines, "\"", "\"", 1, "ab  gh\r\n"},
        {"(a(b)c)", "(", ")", 0, "a(b"},
        {"(a(b)c)", "(", ")", 1, "c"},
        {"(a(b)c)", "(", ")", 2, "c"},  // every mode but 0 keeps the outside
        {"x) y", "(", ")", 1, "x y"},   // a stray right delimiter is dropped
        {"a\"b\"\"c\"d", "\"", "\"", 0, "bc"},
        {"a\"b\"\"c\"d", "\"", "\"", 1, "ad"},
        {"x\"abc\r\n", "\"", "\"", 0, "abc\r\n"},  // never closed
        {"x\"abc\r\n", "\"", "\"", 1, "x"},
        {std::string("a\0b\0c", 5), "", "", 0, "b"},  // empty fields: NUL delimits
        {std::string("a\0b\0c", 5), "", "", 1, "ac"},
        {std::string("a\"\0\"b", 5), "\"", "\"", 0, std::string("\0", 1)},
        {"", "\"", "\"", 0, ""},
        {"", "\"", "\"", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.source) + " mode " + std::to_string(c.mode));
        EXPECT_EQ(Run(c.source, c.left, c.right, c.mode), c.kept);
        EXPECT_EQ(ReferenceStreamFilter(c.source, c.left[0], c.right[0], c.mode), c.kept);
    }
}

TEST_F(StreamFilterTest, EmptySourceCreatesTheTargetSilently) {
    EXPECT_EQ(Run("", "\"", "\"", 0), "");
    EXPECT_TRUE(std::filesystem::is_regular_file(targetName_));
}

TEST_F(StreamFilterTest, AppendsAfterAnExistingTarget) {
    EXPECT_EQ(Run("a \"b\" c", "\"", "\"", 0, "old\r\n"), "old\r\nb");
    EXPECT_EQ(Run("a \"b\" c", "\"", "\"", 1, "old"), "olda  c");
}

// Stretches and delimiters around the size of one read must come out as the
// byte-by-byte filter gives them.
TEST_F(StreamFilterTest, MatchesTheByteByByteFilterAcrossReads) {
    constexpr size_t kRead = kStreamReadSize;
    std::mt19937 random(20261208);
    const std::pair<const char*, const char*> delimiters[] = {{"\"", "\""}, {"(", ")"}};
    const size_t sizes[] = {kRead - 1, kRead, kRead + 1, 2 * kRead + 3, 3 * kRead - 2};
    const unsigned spacings[] = {3, 40, 70000};  // mean distance between delimiters

    for (const auto& [left, right] : delimiters) {
        for (const size_t size : sizes) {
            for (const unsigned spacing : spacings) {
                std::string source(size, 'x');
                std::uniform_int_distribution<unsigned> pick(0, spacing * 2);
                for (char& c : source) {
                    const unsigned r = pick(random);
                    c = r == 0   ? left[0]
                        : r == 1 ? right[0]
                        : r == 2 ? '\n'
                                 : static_cast<char>('a' + r % 26);
                }
                // A stretch that opens just before the end of the first read
                // and closes just after it, and a delimiter on either side.
                if (size > kRead + 2) {
                    source[kRead - 3] = left[0];
                    source[kRead - 1] = right[0];
                    source[kRead + 2] = right[0];
                }
                for (int mode : {0, 1}) {
                    SCOPED_TRACE(std::string(left) + " size " + std::to_string(size) + " spacing " +
                                 std::to_string(spacing) + " mode " + std::to_string(mode));
                    const std::string kept = Run(source, left, right, mode);
                    EXPECT_TRUE(kept == ReferenceStreamFilter(source, left[0], right[0], mode));
                }
            }
        }
    }
}

TEST_F(StreamFilterTest, DelimiterOnEitherSideOfAReadBoundary) {
    constexpr size_t kRead = kStreamReadSize;
    for (const size_t at : {kRead - 2, kRead - 1, kRead, kRead + 1}) {
        std::string source(2 * kRead, 'x');
        source[at] = '"';
        source[at + 5] = '"';
        for (int mode : {0, 1}) {
            SCOPED_TRACE("at " + std::to_string(at) + " mode " + std::to_string(mode));
            const std::string kept = Run(source, "\"", "\"", mode);
            EXPECT_EQ(kept.size(), mode == 0 ? 4u : source.size() - 6);
            EXPECT_TRUE(kept == ReferenceStreamFilter(source, '"', '"', mode));
        }
    }
}

TEST_F(StreamFilterTest, MissingSourceFailsWithAnUnownedBox) {
    EXPECT_EQ(StreamFilter(dir_.File("absent.txt").c_str(), targetName_.c_str(), "\"", "\"", 0), 0);
    EXPECT_EQ(sink_.Lines(),
              std::vector<std::string>{"Fehlermeldung: Quelldatei nicht gefunden !"});
    EXPECT_EQ(sink_.boxes()[0].owner, nullptr);
    EXPECT_FALSE(std::filesystem::exists(targetName_));
}

TEST_F(StreamFilterTest, TargetThatCannotBeCreatedFailsSilently) {
    WriteBytes(sourceName_, "a \"b\" c");
    std::filesystem::create_directory(targetName_);
    for (const std::string& target : {targetName_, dir_.File("missing/target.txt")}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(StreamFilter(sourceName_.c_str(), target.c_str(), "\"", "\"", 1), 0);
    }
    EXPECT_TRUE(sink_.boxes().empty());
    EXPECT_TRUE(std::filesystem::is_empty(targetName_));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("missing")));
}

TEST_F(StreamFilterTest, SourceUnderAnotherNameIsRefused) {
    WriteBytes(sourceName_, "a \"b\" c");
    test::ScopedCurrentDir here(dir_.path());
    std::filesystem::create_hard_link("source.txt", "hard.txt");
    std::vector<std::string> targets{"./source.txt", "hard.txt"};
#ifndef _WIN32
    // Windows lets only privileged users make symbolic links.
    std::filesystem::create_symlink("source.txt", "link.txt");
    targets.push_back("link.txt");
#endif
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        sink_.Clear();
        EXPECT_EQ(StreamFilter("source.txt", target.c_str(), "\"", "\"", 1), 0);
        EXPECT_EQ(sink_.Lines(),
                  std::vector<std::string>{"Fehlermeldung: Quelldatei == Zieldatei !"});
    }
    EXPECT_EQ(ReadBytes(sourceName_), "a \"b\" c");
}

// Devices that fail every read or write stand in for a failing disk.
TEST_F(StreamFilterTest, ReadErrorLeavesTheTargetAsItWas) {
    if (!std::filesystem::exists("/proc/self/mem")) {
        GTEST_SKIP() << "no unreadable file here";
    }
    WriteBytes(targetName_, "old\r\n");
    EXPECT_EQ(StreamFilter("/proc/self/mem", targetName_.c_str(), "\"", "\"", 1), 0);
    EXPECT_EQ(sink_.Lines(),
              std::vector<std::string>{"Fehlermeldung: Fehler beim Lesen/Schreiben !"});
    EXPECT_EQ(ReadBytes(targetName_), "old\r\n");
}

TEST_F(StreamFilterTest, WriteErrorFails) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no full device here";
    }
    WriteBytes(sourceName_, std::string(3 * kStreamReadSize, 'x'));
    EXPECT_EQ(StreamFilter(sourceName_.c_str(), "/dev/full", "\"", "\"", 1), 0);
    EXPECT_EQ(sink_.Lines(),
              std::vector<std::string>{"Fehlermeldung: Fehler beim Lesen/Schreiben !"});
}

}  // namespace
}  // namespace sif
