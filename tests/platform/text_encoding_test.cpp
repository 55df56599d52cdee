#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sif {
namespace {

// UTF-16LE text from its code units.
std::string Le(const std::vector<unsigned>& units) {
    std::string s;
    for (unsigned u : units) {
        s += static_cast<char>(u & 0xFF);
        s += static_cast<char>(u >> 8);
    }
    return s;
}

std::string Swapped(std::string s) {
    for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
        std::swap(s[i], s[i + 1]);
    }
    return s;
}

struct DecodeResult {
    std::string text;
    bool failed;
};

// Decodes `in` in pieces of `piece` bytes, then ends it.
DecodeResult Decode(const std::string& in, bool bigEndian, std::size_t piece) {
    Utf16Decoder d(bigEndian);
    std::string text;
    for (std::size_t at = 0; at < in.size(); at += piece) {
        const std::size_t n = std::min(piece, in.size() - at);
        std::string out(Utf16Decoder::Room(n), '\0');
        out.resize(d.Decode(in.data() + at, n, out.data()));
        text += out;
    }
    d.Finish();
    return {text, d.failed()};
}

struct DecodeCase {
    const char* name;
    std::string le;    // UTF-16LE without a mark
    std::string utf8;  // what comes out before the end or the fault
    bool failed;
};

class DecodeCases : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeCases, AnySplitAndEitherOrderGivesTheSame) {
    const DecodeCase& c = GetParam();
    for (bool big : {false, true}) {
        const std::string in = big ? Swapped(c.le) : c.le;
        for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{5},
                                  std::size_t{7}, in.size() + 1}) {
            SCOPED_TRACE((big ? "BE, piece " : "LE, piece ") + std::to_string(piece));
            const DecodeResult r = Decode(in, big, piece);
            EXPECT_EQ(r.failed, c.failed);
            EXPECT_EQ(r.text, c.utf8);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeCases,
    ::testing::Values(
        DecodeCase{"Empty", "", "", false},
        DecodeCase{"Ascii", Le({'C', 'A', 'P', 'T', 'I', 'O', 'N', ' ', '"', 'x', '"', '\r', '\n'}),
                   "CAPTION \"x\"\r\n", false},
        DecodeCase{"Nul", Le({'a', 0, 'b'}), std::string("a\0b", 3), false},
        DecodeCase{"TwoAndThreeBytes", Le({0xE4, 0x20AC, 0x7FF, 0x800, 0xFFFF}),
                   "\xC3\xA4\xE2\x82\xAC\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", false},
        DecodeCase{"AsciiRunThenUmlaut", Le({'a', 'b', 'c', 'd', 'e', 'f', 'g', 0xFC, 'h'}),
                   "abcdefg\xC3\xBCh", false},
        DecodeCase{"OutsideThePlane", Le({'<', 0xD83D, 0xDE00, 0xDBFF, 0xDFFF, '>'}),
                   "<\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF>", false},
        DecodeCase{"LoneHighAtTheEnd", Le({'a', 0xD800}), "a", true},
        DecodeCase{"LoneHighBeforeText", Le({'a', 0xDBFF, 'b', 'c'}), "a", true},
        DecodeCase{"TwoHighs", Le({'a', 0xD800, 0xD800, 0xDC00}), "a", true},
        DecodeCase{"LoneLow", Le({'a', 'b', 0xDC00, 'c'}), "ab", true},
        DecodeCase{"OddLastByte", Le({'a', 'b'}) + "c", "ab", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Long ASCII runs are taken many units at a time; the run must end exactly
// at the first unit outside ASCII, wherever it falls.
TEST(Utf16Decoder, AsciiRunsEndAtTheFirstOtherCharacter) {
    const std::pair<unsigned, std::string> others[] = {
        {0x80, "\xC2\x80"}, {0xE4, "\xC3\xA4"}, {0x100, "\xC4\x80"}, {0x20AC, "\xE2\x82\xAC"}};
    for (const auto& [unit, utf8] : others) {
        for (std::size_t at = 0; at < 48; ++at) {
            std::vector<unsigned> units;
            std::string expected;
            for (std::size_t i = 0; i < 48; ++i) {
                const char c = static_cast<char>('a' + i % 26);
                units.push_back(i == at ? unit : static_cast<unsigned char>(c));
                expected += i == at ? utf8 : std::string(1, c);
            }
            for (bool big : {false, true}) {
                SCOPED_TRACE("unit " + std::to_string(unit) + " at " + std::to_string(at) +
                             (big ? ", BE" : ", LE"));
                const std::string in = big ? Swapped(Le(units)) : Le(units);
                EXPECT_EQ(Decode(in, big, in.size()).text, expected);
            }
        }
    }
}

TEST(Utf16Decoder, RoomHoldsTheWidestPiece) {
    // A pair finished by the piece's first byte, then three-byte characters.
    Utf16Decoder d(false);
    char out[64];
    EXPECT_EQ(d.Decode("\x3D\xD8\x00", 3, out), 0u);
    const std::string piece = "\xDE" + Le({0xFFFF, 0xFFFF, 0xFFFF});
    EXPECT_EQ(d.Decode(piece.data(), piece.size(), out), 13u);
    EXPECT_LE(13u, Utf16Decoder::Room(piece.size()));
}

struct EncodeCase {
    const char* name;
    std::string utf8;
    std::string le;  // UTF-16LE without a mark
};

std::string Encode(const std::string& in, bool bigEndian, std::size_t piece) {
    Utf16Encoder e(bigEndian);
    std::string out;
    for (std::size_t at = 0; at < in.size(); at += piece) {
        const std::size_t n = std::min(piece, in.size() - at);
        std::string part(Utf16Encoder::Room(n), '\0');
        part.resize(e.Encode(in.data() + at, n, part.data()));
        out += part;
    }
    std::string tail(Utf16Encoder::Room(0), '\0');
    tail.resize(e.Finish(tail.data()));
    return out + tail;
}

class EncodeCases : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeCases, AnySplitAndEitherOrderGivesTheSame) {
    const EncodeCase& c = GetParam();
    for (bool big : {false, true}) {
        for (std::size_t piece :
             {std::size_t{1}, std::size_t{2}, std::size_t{3}, c.utf8.size() + 1}) {
            SCOPED_TRACE((big ? "BE, piece " : "LE, piece ") + std::to_string(piece));
            EXPECT_EQ(Encode(c.utf8, big, piece), big ? Swapped(c.le) : c.le);
        }
    }
}

// A byte that is no part of a valid sequence stands for the character of its
// own number, so text in the Western code page keeps its letters.
INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeCases,
    ::testing::Values(EncodeCase{"Ascii", "OK\tPUSHBUTTON\r\n",
                                 Le({'O', 'K', '\t', 'P', 'U', 'S', 'H', 'B', 'U', 'T', 'T', 'O',
                                     'N', '\r', '\n'})},
                      EncodeCase{"Valid", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF",
                                 Le({0xE4, 0x20AC, 0xD83D, 0xDE00, 0xDBFF, 0xDFFF})},
                      EncodeCase{"WesternCodePage",
                                 "Gr\xF6\xDF"
                                 "e\r\n",
                                 Le({'G', 'r', 0xF6, 0xDF, 'e', '\r', '\n'})},
                      EncodeCase{"CutShortThenAscii", "\xE2\x82x", Le({0xE2, 0x82, 'x'})},
                      EncodeCase{"CutShortAtTheEnd", "a\xF0\x9F\x98", Le({'a', 0xF0, 0x9F, 0x98})},
                      EncodeCase{"CutShortThenLead", "\xC3\xC3\xA4", Le({0xC3, 0xE4})},
                      EncodeCase{"StrayContinuation", "\x80\xBF", Le({0x80, 0xBF})},
                      EncodeCase{"Overlong", "\xC0\xAF\xE0\x80\xAF",
                                 Le({0xC0, 0xAF, 0xE0, 0x80, 0xAF})},
                      EncodeCase{"EncodedSurrogate", "\xED\xA0\x80", Le({0xED, 0xA0, 0x80})},
                      EncodeCase{"AboveTheLastPlane", "\xF4\x90\x80\x80\xF5",
                                 Le({0xF4, 0x90, 0x80, 0x80, 0xF5})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf16Encoder, ResetForgetsAHeldSequence) {
    Utf16Encoder e(false);
    char out[16];
    EXPECT_EQ(e.Encode("\xE2\x82", 2, out), 0u);
    e.Reset();
    EXPECT_EQ(e.Encode("\xAC", 1, out), 2u);
    EXPECT_EQ(std::string(out, 2), Le({0xAC}));
    EXPECT_EQ(e.Finish(out), 0u);
}

struct MarkCase {
    std::string head;
    bool atEnd;
    TextMark mark;
};

TEST(FindTextMark, ByTheBytesSeenSoFar) {
    const MarkCase cases[] = {
        {"", false, TextMark::Undecided},      {"", true, TextMark::None},
        {"\xEF", false, TextMark::Undecided},  {"\xEF\xBB", false, TextMark::Undecided},
        {"\xEF\xBB", true, TextMark::None},    {"\xEF\xBB\xBF", false, TextMark::Utf8},
        {"\xEF\xBBx", false, TextMark::None},  {"\xFF", false, TextMark::Undecided},
        {"\xFF", true, TextMark::None},        {"\xFF\xFE", false, TextMark::Utf16Le},
        {"\xFE\xFF", true, TextMark::Utf16Be}, {"\xFE\xFE", false, TextMark::None},
        {"a", false, TextMark::None},          {"\xFF\xFEx", true, TextMark::Utf16Le},
    };
    for (const MarkCase& c : cases) {
        EXPECT_EQ(FindTextMark(c.head.data(), c.head.size(), c.atEnd), c.mark)
            << "bytes " << c.head.size() << (c.atEnd ? ", at the end" : "");
    }
    EXPECT_EQ(TextMarkLength(TextMark::Utf8), 3u);
    EXPECT_EQ(TextMarkLength(TextMark::Utf16Be), 2u);
    EXPECT_EQ(TextMarkLength(TextMark::None), 0u);
}

}  // namespace
}  // namespace sif
