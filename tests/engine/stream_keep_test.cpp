#include "engine/stream_keep.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "engine/kernels/kernel_table.h"
#include "engine/stream_filter.h"
#include "engine/vector_level.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_dir.h"

namespace sif {

// Names the level in the messages of failed tests.
void PrintTo(VectorLevel level, std::ostream* out) {
    *out << VectorLevelName(level);
}

namespace {

constexpr size_t kRead = kStreamReadSize;

struct Delimiters {
    const char* name;
    char left;
    char right;
};

// The first four give each way of finding the stretches a case of its own:
// equal, different, NUL, and bytes above 127 (negative as char).
const Delimiters kDelimiters[] = {
    {"quote", '"', '"'},           {"parentheses", '(', ')'},
    {"nul", '\0', '\0'},           {"high_bytes", '\xab', '\xff'},
    {"swapped", ')', '('},         {"nul_left", '\0', '"'},
    {"nul_right", '"', '\0'},      {"backslash", '\\', '\\'},
    {"backslash_left", '\\', '"'}, {"cr_lf", '\r', '\n'},
    {"lf_cr", '\n', '\r'},         {"lf", '\n', '\n'},
};

// `size` bytes in which about one in `spacing` is either delimiter, with CR,
// LF, NUL, backslash and bytes above 127 among the rest, so that every
// delimiter class meets the others as ordinary text.
std::string Generate(std::mt19937& random, size_t size, unsigned spacing, const Delimiters& d) {
    static const char kOthers[] = "ab\r\n\\\"()\xab\xff xyz";
    std::uniform_int_distribution<unsigned> pick(0, 2 * spacing - 1);
    std::uniform_int_distribution<unsigned> other(0, sizeof kOthers - 1);  // the NUL too
    std::string text(size, 'x');
    for (char& c : text) {
        const unsigned r = pick(random);
        c = r == 0 ? d.left : r == 1 ? d.right : kOthers[other(random)];
    }
    return text;
}

// Filters `source` as StreamFilter does, each read where it lies, with reads
// of the sizes in `reads` in turn; returns the kept bytes.
std::string KeepInReads(KeepBytesFunction keep, std::string source, const Delimiters& d, int mode,
                        const std::vector<size_t>& reads) {
    StreamState state{d.left, d.right, mode == 0};
    std::string kept;
    size_t turn = 0;
    for (size_t at = 0; at < source.size(); ++turn) {
        const size_t count = std::min(reads[turn % reads.size()], source.size() - at);
        char* const piece = source.data() + at;
        kept.append(piece, keep(state, piece, piece, count));
        at += count;
    }
    return kept;
}

// Makes `level` the active one until destruction.
class ScopedVectorLevel {
  public:
    explicit ScopedVectorLevel(VectorLevel level) { EXPECT_TRUE(SetVectorLevel(level)); }
    ~ScopedVectorLevel() { SetVectorLevel(previous_); }

  private:
    VectorLevel previous_ = ActiveVectorLevel();
};

class StreamKeepTest : public testing::TestWithParam<VectorLevel> {
  protected:
    void SetUp() override {
        if (!CanRunVectorLevel(GetParam())) {
            GTEST_SKIP() << VectorLevelName(GetParam()) << " cannot run here";
        }
    }
};

// Stretches and gaps from a byte to longer than a read, so that they start
// and end at every place in a 16-, 32- and 64-byte lane and the inside state
// crosses lanes, blocks and reads; reads of odd sizes leave pieces that end
// inside a block.
TEST_P(StreamKeepTest, KeepsWhatTheScalarFilterKeeps) {
    const KeepBytesFunction keep = KernelsFor(GetParam())->keepBytes;
    const unsigned spacings[] = {2, 9, 40, 300, 70000};
    const std::vector<size_t> schedules[] = {
        {kRead},
        {1, 63, 64, 65, 127, 4095},
        {kRead - 1, 33, kRead + 17},
    };
    std::mt19937 random(20261208);
    for (const Delimiters& d : kDelimiters) {
        for (const unsigned spacing : spacings) {
            const std::string source = Generate(random, 2 * kRead + 1000, spacing, d);
            for (const int mode : {0, 1}) {
                const std::string expected =
                    KeepInReads(KeepBytesScalar, source, d, mode, {source.size()});
                for (const std::vector<size_t>& reads : schedules) {
                    SCOPED_TRACE(std::string(d.name) + " spacing " + std::to_string(spacing) +
                                 " mode " + std::to_string(mode) + " first read " +
                                 std::to_string(reads[0]));
                    const std::string kept = KeepInReads(keep, source, d, mode, reads);
                    ASSERT_EQ(kept.size(), expected.size());
                    ASSERT_TRUE(kept == expected);
                }
            }
        }
    }
}

// One stretch of every length from 0 to 130 at every offset in a 64-byte
// block, and the delimiters of a stretch on either side of a read's end.
TEST_P(StreamKeepTest, StretchesAtEveryPlaceInABlock) {
    const KeepBytesFunction keep = KernelsFor(GetParam())->keepBytes;
    for (const Delimiters& d : std::span(kDelimiters).first(4)) {
        for (size_t open = 0; open < 64; ++open) {
            for (size_t length = 0; length <= 130; ++length) {
                std::string source(256, 'x');
                source[open] = d.left;
                source[open + length + 1] = d.right;
                for (const int mode : {0, 1}) {
                    const std::string expected =
                        KeepInReads(KeepBytesScalar, source, d, mode, {source.size()});
                    const std::string kept = KeepInReads(keep, source, d, mode, {source.size()});
                    ASSERT_TRUE(kept == expected)
                        << d.name << " open " << open << " length " << length << " mode " << mode;
                }
            }
        }
    }
}

// Each level has a version of its own, and forcing a level puts it in use.
TEST_P(StreamKeepTest, ForcedLevelIsTheOneInUse) {
    const ScopedVectorLevel level(GetParam());
    EXPECT_EQ(ActiveVectorLevel(), GetParam());
    EXPECT_EQ(&ActiveKernels(), KernelsFor(GetParam()));
    for (VectorLevel other :
         {VectorLevel::Scalar, VectorLevel::Sse2, VectorLevel::Avx2, VectorLevel::Avx512}) {
        if (other != GetParam() && CanRunVectorLevel(other)) {
            EXPECT_NE(KernelsFor(other)->keepBytes, KernelsFor(GetParam())->keepBytes)
                << VectorLevelName(other);
        }
    }
}

// Through the files: reads, the bytes kept between writes, the appending.
TEST_P(StreamKeepTest, FilesMatchTheScalarFilter) {
    test::RecordingMessageSink sink;
    test::TempDir dir;
    const std::string source = dir.File("source.txt");
    const std::string target = dir.File("target.txt");
    std::mt19937 random(7);
    for (const Delimiters& d : {kDelimiters[0], kDelimiters[1]}) {
        for (const unsigned spacing : {5u, 100000u}) {
            const std::string text = Generate(random, 3 * kRead + 77, spacing, d);
            test::WriteBytes(source, text);
            for (const int mode : {0, 1}) {
                SCOPED_TRACE(std::string(d.name) + " spacing " + std::to_string(spacing) +
                             " mode " + std::to_string(mode));
                test::WriteBytes(target, "old\r\n");
                const char left[] = {d.left, '\0'};
                const char right[] = {d.right, '\0'};
                {
                    const ScopedVectorLevel level(GetParam());
                    ASSERT_EQ(StreamFilter(source.c_str(), target.c_str(), left, right, mode), 1);
                }
                const std::string kept = test::ReadBytes(target);
                ASSERT_TRUE(kept ==
                            "old\r\n" + KeepInReads(KeepBytesScalar, text, d, mode, {text.size()}));
            }
        }
    }
    EXPECT_TRUE(sink.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Levels, StreamKeepTest,
                         testing::Values(VectorLevel::Scalar, VectorLevel::Sse2, VectorLevel::Avx2,
                                         VectorLevel::Avx512),
                         [](const testing::TestParamInfo<VectorLevel>& info) {
                             return std::string(VectorLevelName(info.param));
                         });

}  // namespace
}  // namespace sif
