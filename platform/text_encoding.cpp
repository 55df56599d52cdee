#include "platform/text_encoding.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace sif {

namespace {

struct MarkBytes {
    TextMark mark;
    const char* bytes;
    std::size_t length;
};

constexpr MarkBytes kMarks[] = {
    {TextMark::Utf8, "\xEF\xBB\xBF", 3},
    {TextMark::Utf16Le, "\xFF\xFE", 2},
    {TextMark::Utf16Be, "\xFE\xFF", 2},
};

// The ASCII fast path reads four code units as one word.
static_assert(std::endian::native == std::endian::little);
constexpr std::uint64_t kNotAsciiLe = 0xFF80FF80FF80FF80u;
constexpr std::uint64_t kNotAsciiBe = 0x80FF80FF80FF80FFu;

bool IsHighSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(unsigned unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

char* PutUtf8(unsigned codePoint, char* out) {
    if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | codePoint >> 6);
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *out++ = static_cast<char>(0xE0 | codePoint >> 12);
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | codePoint >> 18);
        *out++ = static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

}  // namespace

TextMark FindTextMark(const char* head, std::size_t count, bool atEnd) {
    for (const MarkBytes& m : kMarks) {
        if (count >= m.length && std::memcmp(head, m.bytes, m.length) == 0) {
            return m.mark;
        }
        if (count < m.length && !atEnd && std::memcmp(head, m.bytes, count) == 0) {
            return TextMark::Undecided;
        }
    }
    return TextMark::None;
}

std::size_t TextMarkLength(TextMark mark) {
    for (const MarkBytes& m : kMarks) {
        if (m.mark == mark) {
            return m.length;
        }
    }
    return 0;
}

std::size_t Utf16Decoder::Decode(const char* in, std::size_t count, char* out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(in);
    const unsigned char* const end = bytes + count;
    char* const start = out;
    const std::uint64_t notAscii = bigEndian_ ? kNotAsciiBe : kNotAsciiLe;
    const int asciiByte = bigEndian_ ? 1 : 0;
    while (!failed_ && bytes != end) {
        if (oddByte_ < 0 && high_ == 0) {
            // Plain ASCII, four units at a time: most of a resource script.
            std::uint64_t word;
            while (end - bytes >= 8 && (std::memcpy(&word, bytes, 8), (word & notAscii) == 0)) {
                out[0] = static_cast<char>(bytes[asciiByte]);
                out[1] = static_cast<char>(bytes[asciiByte + 2]);
                out[2] = static_cast<char>(bytes[asciiByte + 4]);
                out[3] = static_cast<char>(bytes[asciiByte + 6]);
                out += 4;
                bytes += 8;
            }
            if (bytes == end) {
                break;
            }
        }
        if (oddByte_ < 0) {
            oddByte_ = *bytes++;
            if (bytes == end) {
                break;
            }
        }
        const unsigned first = static_cast<unsigned>(oddByte_);
        const unsigned second = *bytes++;
        oddByte_ = -1;
        out = Put(bigEndian_ ? first << 8 | second : second << 8 | first, out);
    }
    return static_cast<std::size_t>(out - start);
}

char* Utf16Decoder::Put(unsigned unit, char* out) {
    if (high_ != 0) {
        if (!IsLowSurrogate(unit)) {
            failed_ = true;
            return out;
        }
        const unsigned codePoint = 0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00);
        high_ = 0;
        return PutUtf8(codePoint, out);
    }
    if (IsHighSurrogate(unit)) {
        high_ = unit;
        return out;
    }
    if (IsLowSurrogate(unit)) {
        failed_ = true;
        return out;
    }
    return PutUtf8(unit, out);
}

void Utf16Decoder::Finish() {
    if (oddByte_ >= 0 || high_ != 0) {
        failed_ = true;
    }
}

}  // namespace sif
