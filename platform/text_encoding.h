// Byte-order marks and the streaming conversion from UTF-16 to UTF-8 that the
// file services apply below the engine: UTF-16 text is read as UTF-8.
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

}  // namespace sif
