// The line operation on every vector level against the one-line-at-a-time
// reference, on generated sources whose lines, delimiters and NULs straddle
// the vector lanes and the read blocks, and on real resource scripts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/rc_corpus.h"
#include "engine/byte_masks.h"
#include "engine/classify_resource_line.h"
#include "engine/extract_file.h"
#include "engine/kernels/kernel_table.h"
#include "engine/language.h"
#include "engine/vector_level.h"
#include "platform/message_box.h"
#include "tests/engine/line_filter_reference.h"
#include "tests/support/temp_dir.h"

namespace sif {
namespace {

using test::ReadBytes;
using test::WriteBytes;

constexpr VectorLevel kLevels[] = {VectorLevel::Scalar, VectorLevel::Sse2, VectorLevel::Avx2,
                                   VectorLevel::Avx512};

// The size of the line operation's reads: blocks begin at its multiples.
constexpr std::size_t kReadBlock = 128 * 1024;

// Records, for every box, how much of the target was on disk when it showed.
// gathers: claim to gather boxes, as the command line's stderr lines do.
class TargetSizeAtBoxes : public MessageBoxSink {
  public:
    TargetSizeAtBoxes(std::string target, bool gathers)
        : target_(std::move(target)), gathers_(gathers), previous_(SetMessageBoxSink(this)) {}
    ~TargetSizeAtBoxes() override { SetMessageBoxSink(previous_); }

    int Show(HWND, const char*, const char*, UINT) override {
        sizes.push_back(static_cast<std::size_t>(std::filesystem::file_size(target_)));
        return IDOK;
    }
    bool Gathers() const override { return gathers_; }

    std::vector<std::size_t> sizes;

  private:
    std::string target_;
    bool gathers_;
    MessageBoxSink* previous_;
};

// Restores the level the process started with.
class ScopedVectorLevel {
  public:
    ScopedVectorLevel() : saved_(ActiveVectorLevel()) {}
    ~ScopedVectorLevel() { SetVectorLevel(saved_); }

  private:
    VectorLevel saved_;
};

struct Job {
    const char* name;
    int kind;
    int positive;
};

constexpr Job kJobs[] = {{"positive", 0, 1}, {"negative", 0, 0}, {"resource", 1, 1}};

// Runs the line operation on `source` at every level the machine has and
// compares target, notices and classifier state with the reference.
class LinePaths : public ::testing::Test {
  protected:
    void SetUp() override { SetMessageLanguage(0); }

    void ExpectAllLevelsMatch(const std::string& source, char left, char right, const Job& job) {
        const char leftText[2] = {left, '\0'};
        const char rightText[2] = {right, '\0'};
        g_szKeyword[0] = '\0';
        const test::LineRun expected =
            test::ReferenceLineRun(source, left, right, job.kind, job.positive, src);
        const std::string keywordAfter = g_szKeyword;
        const int tableAfter = g_bInStringTable;
        WriteBytes(src, source);
        ScopedVectorLevel restore;
        for (VectorLevel level : kLevels) {
            if (!SetVectorLevel(level)) {
                continue;
            }
            ASSERT_EQ(ActiveVectorLevel(), level);
            SCOPED_TRACE(VectorLevelName(level));
            WriteBytes(tgt, "");
            g_szKeyword[0] = '\0';
            TargetSizeAtBoxes boxes(tgt, false);
            ASSERT_EQ(
                ExtractFile(src.c_str(), tgt.c_str(), leftText, rightText, job.kind, job.positive),
                1);
            const std::string output = ReadBytes(tgt);
            ASSERT_EQ(output.size(), expected.output.size());
            for (std::size_t i = 0; i < output.size(); ++i) {
                ASSERT_EQ(output[i], expected.output[i]) << "first difference at " << i;
            }
            ASSERT_EQ(boxes.sizes, expected.tooLongAt);
            ASSERT_EQ(g_szKeyword, keywordAfter);
            ASSERT_EQ(g_bInStringTable, tableAfter);
        }
        // Where boxes gather, notices wait for the next large write: the same
        // notices, each after at least the output that came before it.
        WriteBytes(tgt, "");
        TargetSizeAtBoxes gathered(tgt, true);
        ASSERT_EQ(
            ExtractFile(src.c_str(), tgt.c_str(), leftText, rightText, job.kind, job.positive), 1);
        ASSERT_EQ(ReadBytes(tgt), expected.output);
        ASSERT_EQ(gathered.sizes.size(), expected.tooLongAt.size());
        for (std::size_t i = 0; i < gathered.sizes.size(); ++i) {
            ASSERT_GE(gathered.sizes[i], expected.tooLongAt[i]) << "notice " << i;
        }
    }

    test::TempDir dir;
    std::string src = dir.File("source.txt");
    std::string tgt = dir.File("target.txt");
};

TEST(VectorLevels, EveryLevelTheMachineHasCanBeForced) {
    ScopedVectorLevel restore;
    for (VectorLevel level : kLevels) {
        SCOPED_TRACE(VectorLevelName(level));
        EXPECT_EQ(SetVectorLevel(level), CanRunVectorLevel(level));
        if (CanRunVectorLevel(level)) {
            EXPECT_EQ(ActiveVectorLevel(), level);
        }
    }
}

// Each level's masks against their definition, byte by byte, for blocks that
// end anywhere in a chunk.
TEST(ChunkMasks, EveryLevelMarksExactlyTheBytesLookedFor) {
    std::mt19937 random(7);
    const std::string alphabet = std::string("\n\\\0\"()}STLRENCAOPMU xt", 23);
    std::string data(4096 + kChunkBytes + 1, '\0');
    for (char& c : data) {
        c = alphabet[random() % alphabet.size()];
    }
    for (VectorLevel level : {VectorLevel::Sse2, VectorLevel::Avx2, VectorLevel::Avx512}) {
        if (!CanRunVectorLevel(level)) {
            continue;
        }
        SCOPED_TRACE(VectorLevelName(level));
        for (std::size_t count : {1u, 63u, 64u, 65u, 1000u, 4096u}) {
            for (const MaskBytes bytes : {MaskBytes{'"', '"', true}, MaskBytes{'(', ')', false}}) {
                std::vector<ChunkMasks> masks(count / kChunkBytes + 1);
                KernelsFor(level)->buildChunkMasks(data.data(), count, bytes, masks.data());
                for (std::size_t i = 0; i < count; ++i) {
                    const ChunkMasks& m = masks[i / kChunkBytes];
                    const std::uint64_t bit = std::uint64_t{1} << (i % kChunkBytes);
                    const char c = data[i];
                    ASSERT_EQ((m.lf & bit) != 0, c == '\n') << i;
                    ASSERT_EQ((m.left & bit) != 0, c == bytes.left) << i;
                    ASSERT_EQ((m.right & bit) != 0, c == bytes.right) << i;
                    ASSERT_EQ((m.backslash & bit) != 0, c == '\\') << i;
                    ASSERT_EQ((m.nul & bit) != 0, c == '\0') << i;
                    if (bytes.words) {
                        ASSERT_EQ((m.words & bit) != 0, MayBeginResourceWord(c, data[i + 1])) << i;
                    }
                }
            }
        }
    }
}

struct DelimiterClass {
    const char* name;
    char left;
    char right;
};

constexpr DelimiterClass kClasses[] = {
    {"Equal", '"', '"'},     {"Different", '(', ')'},   {"NulRight", '"', '\0'},
    {"NulBoth", '\0', '\0'}, {"Backslash", '\\', '\\'}, {"BackslashRight", '"', '\\'},
    {"CrLeft", '\r', '"'},   {"CrRight", '"', '\r'},    {"LfLeft", '\n', '"'},
    {"LfRight", '"', '\n'},
};

// Sources of over a read block: random lines full of the delimiters,
// backslashes, doubled quotes, NULs and resource words; at the block end a
// line whose pieces of 494 to 500 bytes end just before, at or after it; NULs
// at lane ends; and one of five file ends.
class SourceMaker {
  public:
    SourceMaker(unsigned start, DelimiterClass d) : random_(start), d_(d) {}

    std::string Make(int fileEnd) {
        std::string s;
        const std::size_t before = Pick({0, 1, 2, 15, 63, 64, 65, 200, 496, 497, 498, 499});
        while (s.size() + 600 < kReadBlock - before) {
            s += RandomLine();
        }
        Fill(s, kReadBlock - before);
        s += std::string(Pick({494, 495, 496, 497, 498, 499, 500, 995, 996, 997}), 'x') + "\n";
        Sprinkle(s, kReadBlock - 600, kReadBlock + 1100);
        for (int i = 0; i < 300; ++i) {
            s += RandomLine();
        }
        switch (fileEnd) {
            case 0:
                s += std::string(497, 'e');  // 497 and the stored NUL: a notice
                break;
            case 1:
                // Whole pieces, then the NUL alone.
                s += std::string(random_() % 2 ? 498 : 996, 'e');
                break;
            case 2:
                s += "\"e\" (e) \\\"e\"";
                break;
            case 3:
                s += std::string(1200, 'e');
                break;
            default:
                break;  // ends with a line end
        }
        for (int i = 0; i < 40; ++i) {
            // NULs at the ends of 16-, 32- and 64-byte lanes.
            const std::size_t lane = std::size_t{16} << (random_() % 3);
            const std::size_t at = (random_() % (s.size() / lane)) * lane + lane - 1;
            if (at < s.size()) {
                s[at] = '\0';
            }
        }
        return s;
    }

  private:
    std::size_t Pick(std::initializer_list<std::size_t> choices) {
        return choices.begin()[random_() % choices.size()];
    }

    std::string RandomLine() {
        static const char* const kWords[] = {
            "CAPTION ", "STRINGTABLE", "END",       "}",      "LTEXT ", "DEFPUSHBUTTON ", "ST",
            "EN",       "CO",          "MENUITEM ", "POPUP ", "STYLE ", "IDS_END_X ",     "BEGIN"};
        const char pieces[] = {d_.left, d_.right, d_.left, d_.right, '"', '"', '\\', '\r',
                               'a',     'b',      ' ',     ' ',      '(', ')', '\0'};
        std::string line;
        if (random_() % 3 == 0) {
            line += kWords[random_() % std::size(kWords)];
        }
        const std::size_t length = Pick({0, 3, 10, 30, 60, 100, 200, 490, 700});
        while (line.size() < length) {
            if (random_() % 12 == 0) {
                line += kWords[random_() % std::size(kWords)];
            } else {
                const char c = pieces[random_() % sizeof pieces];
                // NULs stay rare: each one ends what a line filter looks at.
                line += c != '\0' || random_() % 8 == 0 ? c : 'n';
            }
        }
        line += random_() % 4 == 0 ? "\n" : "\r\n";
        return line;
    }

    // Lines of plain text that bring `s` to `size` bytes.
    static void Fill(std::string& s, std::size_t size) {
        while (s.size() < size) {
            const std::size_t length = std::min<std::size_t>(size - s.size(), 300);
            s += std::string(length - 1, 'f') + "\n";
        }
    }

    // Delimiters in the filler around a block end, so that pieces there keep
    // something.
    void Sprinkle(std::string& s, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to && i < s.size(); ++i) {
            if (s[i] != '\n' && random_() % 9 == 0) {
                s[i] = random_() % 2 ? d_.left : d_.right;
            }
        }
    }

    std::mt19937 random_;
    DelimiterClass d_;
};

// Keeps failure messages short.
void PrintTo(const DelimiterClass& d, std::ostream* os) {
    *os << d.name;
}

class LinePathsByDelimiters : public LinePaths,
                              public ::testing::WithParamInterface<DelimiterClass> {};

TEST_P(LinePathsByDelimiters, EveryLevelWritesWhatTheReferenceWrites) {
    const DelimiterClass d = GetParam();
    // Three of the five file ends per class, in turn: each end meets six
    // classes, and the suite stays quick under the sanitizers.
    int first = 0;
    while (std::string(kClasses[first].name) != d.name) {
        ++first;
    }
    for (int turn = 0; turn < 3; ++turn) {
        const int fileEnd = (first + 2 * turn) % 5;
        const unsigned start = 131u * static_cast<unsigned char>(d.left) + d.right + fileEnd;
        const std::string source = SourceMaker(start, d).Make(fileEnd);
        for (const Job& job : kJobs) {
            SCOPED_TRACE(std::string(job.name) + ", start " + std::to_string(start));
            ExpectAllLevelsMatch(source, d.left, d.right, job);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Classes, LinePathsByDelimiters, ::testing::ValuesIn(kClasses),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinePaths, ResourceKindMatchesOnTheBenchCorpus) {
    std::ostringstream corpus;
    bench::WriteResourceCorpus(corpus, 1u << 20);
    ExpectAllLevelsMatch(corpus.str(), '"', '"', kJobs[2]);
}

// Real resource scripts from other projects, read where they lie: the
// directory that SIFTERON_CORPUS_DIR names, else the one CMake found.
TEST_F(LinePaths, ResourceKindMatchesOnRealScripts) {
    const char* fromEnvironment = std::getenv("SIFTERON_CORPUS_DIR");
    const std::filesystem::path corpus =
        fromEnvironment != nullptr ? fromEnvironment : SIFTERON_CORPUS_DIR;
    std::error_code error;
    if (!std::filesystem::is_directory(corpus, error)) {
        GTEST_SKIP() << "no resource scripts at " << corpus;
    }
    int scripts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".rc" && extension != ".dlg") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        ExpectAllLevelsMatch(ReadBytes(entry.path().string()), '"', '"', kJobs[2]);
        ++scripts;
    }
    EXPECT_GT(scripts, 0);
}

}  // namespace
}  // namespace sif
