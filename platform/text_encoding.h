// Byte-order marks and the streaming conversions between UTF-16 and UTF-8
// that the file services apply below the engine: UTF-16 text is read as
// UTF-8, and UTF-8 written to a UTF-16 file goes out as UTF-16.
#pragma once

#include <cstddef>

namespace sif {

enum class TextMark { Undecided, None, Utf8, Utf16Le, Utf16Be };

inline constexpr std::size_t kLongestTextMark = 3;

// The mark that the first `count` bytes of a file start with. Undecided while
// they are the beginning of a mark and more bytes may follow (not atEnd).
TextMark FindTextMark(const char* head, std::size_t count, bool atEnd);

std::size_t TextMarkLength(TextMark mark);

// UTF-16 in the given order to UTF-8, piece by piece: a code unit or a
// surrogate pair split between two pieces waits for the next one.
class Utf16Decoder {
  public:
    explicit Utf16Decoder(bool bigEndian) : bigEndian_(bigEndian) {}

    // Most bytes that Decode stores for `count` bytes given.
    static constexpr std::size_t Room(std::size_t count) { return (count + 3) / 2 * 3; }

    // Decodes `count` bytes into `out` (Room(count) bytes) and returns the
    // count stored. A lone surrogate stops it: what came before is stored,
    // and failed() tells from then on.
    std::size_t Decode(const char* in, std::size_t count, char* out);

    // The input has ended: half a code unit or a high surrogate still
    // waiting means the text was cut short, and failed() tells so.
    void Finish();

    bool failed() const { return failed_; }

  private:
    char* Put(unsigned unit, char* out);

    bool bigEndian_;
    bool failed_ = false;
    int oddByte_ = -1;   // the first byte of a unit split between pieces
    unsigned high_ = 0;  // a high surrogate waiting for its low one
};

// UTF-8 to UTF-16 in the given order, piece by piece: a sequence split
// between two pieces waits for the next one. A byte that starts no valid
// sequence, or ends one early, becomes the character of the same number
// (ISO 8859-1): nothing is lost, and text of the Western Windows code page
// that reaches a UTF-16 file keeps its umlauts.
class Utf16Encoder {
  public:
    explicit Utf16Encoder(bool bigEndian) : bigEndian_(bigEndian) {}

    // Most bytes that Encode stores for `count` bytes given, and Finish for 0.
    static constexpr std::size_t Room(std::size_t count) { return (count + 3) * 2; }

    // Encodes `count` bytes into `out` (Room(count) bytes); the count stored.
    std::size_t Encode(const char* in, std::size_t count, char* out);

    // The output ends: a sequence still waiting goes out byte by byte.
    std::size_t Finish(char* out);

    // Forgets a sequence still waiting (the output was taken back).
    void Reset();

  private:
    char* PutUnit(unsigned unit, char* out) const;
    char* PutCodePoint(unsigned codePoint, char* out) const;
    char* PutHeld(char* out);

    bool bigEndian_;
    unsigned char bytes_[3] = {};  // the sequence begun so far
    std::size_t held_ = 0;
    std::size_t need_ = 0;  // continuation bytes still to come
    unsigned codePoint_ = 0;
    unsigned char low_ = 0x80, high_ = 0xBF;  // the range of the next one
};

}  // namespace sif
