#include "engine/byte_masks.h"

#ifdef SIF_VECTOR_PATHS

#include <immintrin.h>

namespace sif {

namespace {

// Looked for in every chunk: LF, left, right, backslash, NUL.
constexpr int kLineBytes = 5;

// The first and second letters of the classifier's words.
constexpr char kWordBytes[] = {'}', 'S', 'L', 'R', 'E', 'C', 'P', 'M', 'T', 'N', 'A', 'O', 'U'};
constexpr int kWordByteCount = sizeof kWordBytes;
enum WordByte { kBrace, kS, kL, kR, kE, kC, kP, kM, kT, kN, kA, kO, kU };

constexpr int kAllBytes = kLineBytes + kWordByteCount;

struct Needles {
    char bytes[kAllBytes];
};

Needles NeedlesFor(const MaskBytes& b) {
    Needles n{{'\n', b.left, b.right, '\\', '\0'}};
    for (int i = 0; i < kWordByteCount; ++i) {
        n.bytes[kLineBytes + i] = kWordBytes[i];
    }
    return n;
}

// `eq` holds the chunk's mask for each needle; `after` is the byte behind the
// chunk, the second letter of a word that begins at its last byte.
inline ChunkMasks Combine(const std::uint64_t* eq, bool words, char after) {
    ChunkMasks m{eq[0], eq[1], eq[2], eq[3], eq[4], 0};
    if (words) {
        const std::uint64_t* w = eq + kLineBytes;
        auto second = [&](WordByte letter) {
            return (w[letter] >> 1) |
                   (std::uint64_t{after == kWordBytes[letter]} << (kChunkBytes - 1));
        };
        m.words = w[kBrace] | ((w[kS] | w[kL] | w[kR]) & second(kT)) | (w[kE] & second(kN)) |
                  (w[kC] & (second(kA) | second(kO) | second(kT))) |
                  (w[kP] & (second(kO) | second(kU))) | (w[kM] & second(kE));
    }
    return m;
}

void BuildSse2(const char* data, std::size_t count, const MaskBytes& bytes, ChunkMasks* masks) {
    const Needles needles = NeedlesFor(bytes);
    const int used = bytes.words ? kAllBytes : kLineBytes;
    __m128i wanted[kAllBytes];
    for (int i = 0; i < used; ++i) {
        wanted[i] = _mm_set1_epi8(needles.bytes[i]);
    }
    for (std::size_t at = 0; at < count; at += kChunkBytes) {
        __m128i v[4];
        for (int q = 0; q < 4; ++q) {
            v[q] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 16 * q));
        }
        std::uint64_t eq[kAllBytes];
        for (int i = 0; i < used; ++i) {
            std::uint64_t m = 0;
            for (int q = 0; q < 4; ++q) {
                const auto bits =
                    static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v[q], wanted[i])));
                m |= std::uint64_t{bits} << (16 * q);
            }
            eq[i] = m;
        }
        *masks++ = Combine(eq, bytes.words, data[at + kChunkBytes]);
    }
}

__attribute__((target("avx2,bmi2"))) void BuildAvx2(const char* data, std::size_t count,
                                                    const MaskBytes& bytes, ChunkMasks* masks) {
    const Needles needles = NeedlesFor(bytes);
    const int used = bytes.words ? kAllBytes : kLineBytes;
    __m256i wanted[kAllBytes];
    for (int i = 0; i < used; ++i) {
        wanted[i] = _mm256_set1_epi8(needles.bytes[i]);
    }
    for (std::size_t at = 0; at < count; at += kChunkBytes) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at + 32));
        std::uint64_t eq[kAllBytes];
        for (int i = 0; i < used; ++i) {
            const auto lo =
                static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, wanted[i])));
            const auto hi =
                static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, wanted[i])));
            eq[i] = std::uint64_t{lo} | (std::uint64_t{hi} << 32);
        }
        *masks++ = Combine(eq, bytes.words, data[at + kChunkBytes]);
    }
}

__attribute__((target("avx512bw,avx512vl,avx512vbmi2,bmi2"))) void BuildAvx512(
    const char* data, std::size_t count, const MaskBytes& bytes, ChunkMasks* masks) {
    const Needles needles = NeedlesFor(bytes);
    const int used = bytes.words ? kAllBytes : kLineBytes;
    __m512i wanted[kAllBytes];
    for (int i = 0; i < used; ++i) {
        wanted[i] = _mm512_set1_epi8(needles.bytes[i]);
    }
    for (std::size_t at = 0; at < count; at += kChunkBytes) {
        const __m512i v = _mm512_loadu_si512(data + at);
        std::uint64_t eq[kAllBytes];
        for (int i = 0; i < used; ++i) {
            eq[i] = _mm512_cmpeq_epi8_mask(v, wanted[i]);
        }
        *masks++ = Combine(eq, bytes.words, data[at + kChunkBytes]);
    }
}

}  // namespace

void BuildChunkMasks(VectorLevel level, const char* data, std::size_t count, const MaskBytes& bytes,
                     ChunkMasks* masks) {
    switch (level) {
        case VectorLevel::Avx512:
            BuildAvx512(data, count, bytes, masks);
            break;
        case VectorLevel::Avx2:
            BuildAvx2(data, count, bytes, masks);
            break;
        case VectorLevel::Sse2:
        case VectorLevel::Scalar:
            BuildSse2(data, count, bytes, masks);
            break;
    }
}

}  // namespace sif

#endif  // SIF_VECTOR_PATHS
