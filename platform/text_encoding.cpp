#include "platform/text_encoding.h"

#include <bit>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

#ifdef __SSE2__
// Runs of plain ASCII, sixteen units at a time; the count of units taken.
std::size_t AsciiRun(const unsigned char* in, std::size_t units, bool bigEndian, char* out) {
    const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    std::size_t done = 0;
    for (; units - done >= 16; done += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * done));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * done + 16));
        if (bigEndian) {
            a = _mm_or_si128(_mm_slli_epi16(a, 8), _mm_srli_epi16(a, 8));
            b = _mm_or_si128(_mm_slli_epi16(b, 8), _mm_srli_epi16(b, 8));
        }
        const __m128i high = _mm_and_si128(_mm_or_si128(a, b), notAscii);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF) {
            break;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), _mm_packus_epi16(a, b));
    }
    return done;
}
#endif

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
            // Plain ASCII, many units at a time: most of a resource script.
#ifdef __SSE2__
            const std::size_t run =
                AsciiRun(bytes, static_cast<std::size_t>(end - bytes) / 2, bigEndian_, out);
            bytes += 2 * run;
            out += run;
#endif
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

std::size_t Utf16Encoder::Encode(const char* in, std::size_t count, char* out) {
    char* const start = out;
    for (std::size_t i = 0; i < count; ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (need_ > 0) {
            if (b >= low_ && b <= high_) {
                codePoint_ = codePoint_ << 6 | (b & 0x3F);
                low_ = 0x80;
                high_ = 0xBF;
                if (--need_ == 0) {
                    held_ = 0;
                    out = PutCodePoint(codePoint_, out);
                } else {
                    bytes_[held_++] = b;
                }
                continue;
            }
            // The sequence broke off: its bytes stand for themselves, and
            // this one starts afresh.
            out = PutHeld(out);
        }
        if (b < 0x80) {
            out = PutUnit(b, out);
            continue;
        }
        // Leads of valid sequences only, with the range of the byte after
        // them: no overlong forms, no surrogates, nothing above U+10FFFF.
        if (b >= 0xC2 && b <= 0xDF) {
            need_ = 1;
            codePoint_ = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need_ = 2;
            codePoint_ = b & 0x0Fu;
            low_ = b == 0xE0 ? 0xA0 : 0x80;
            high_ = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            need_ = 3;
            codePoint_ = b & 0x07u;
            low_ = b == 0xF0 ? 0x90 : 0x80;
            high_ = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            out = PutUnit(b, out);
            continue;
        }
        bytes_[held_++] = b;
    }
    return static_cast<std::size_t>(out - start);
}

std::size_t Utf16Encoder::Finish(char* out) {
    return static_cast<std::size_t>(PutHeld(out) - out);
}

char* Utf16Encoder::PutHeld(char* out) {
    for (std::size_t i = 0; i < held_; ++i) {
        out = PutUnit(bytes_[i], out);
    }
    Reset();
    return out;
}

void Utf16Encoder::Reset() {
    held_ = 0;
    need_ = 0;
    low_ = 0x80;
    high_ = 0xBF;
}

char* Utf16Encoder::PutUnit(unsigned unit, char* out) const {
    const char hi = static_cast<char>(unit >> 8);
    const char lo = static_cast<char>(unit & 0xFF);
    *out++ = bigEndian_ ? hi : lo;
    *out++ = bigEndian_ ? lo : hi;
    return out;
}

char* Utf16Encoder::PutCodePoint(unsigned codePoint, char* out) const {
    if (codePoint < 0x10000) {
        return PutUnit(codePoint, out);
    }
    out = PutUnit(0xD800 + ((codePoint - 0x10000) >> 10), out);
    return PutUnit(0xDC00 + ((codePoint - 0x10000) & 0x3FF), out);
}

}  // namespace sif
