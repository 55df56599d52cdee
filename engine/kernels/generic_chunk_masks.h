// The line filters' mask builder, written once for every instruction set. A
// set's file includes it inside its target region with `Simd` giving
//   Block                          64 bytes in registers
//   Needle                         one byte in every lane
//   Block Load(const char*)        64 bytes, unaligned
//   Needle Splat(char)
//   uint64_t Equal(const Block&, Needle)   bit i for byte i
// Everything here has internal linkage: each set's file compiles its own copy
// for its own instructions, and no copy may stand in for another.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/byte_masks.h"

namespace sif {
namespace {  // NOLINT(google-build-namespaces): one copy per instruction set

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

// The second letter of a word that begins at bit i, as bit i; `after` is the
// byte behind the chunk, the second letter of a word that begins at its end.
std::uint64_t SecondLetter(const std::uint64_t* words, WordByte letter, char after) {
    return (words[letter] >> 1) | (std::uint64_t{after == kWordBytes[letter]} << (kChunkBytes - 1));
}

// `eq` holds the chunk's mask for each needle.
ChunkMasks Combine(const std::uint64_t* eq, bool words, char after) {
    ChunkMasks m{eq[0], eq[1], eq[2], eq[3], eq[4], 0};
    if (words) {
        const std::uint64_t* w = eq + kLineBytes;
        m.words = w[kBrace] | ((w[kS] | w[kL] | w[kR]) & SecondLetter(w, kT, after)) |
                  (w[kE] & SecondLetter(w, kN, after)) |
                  (w[kC] & (SecondLetter(w, kA, after) | SecondLetter(w, kO, after) |
                            SecondLetter(w, kT, after))) |
                  (w[kP] & (SecondLetter(w, kO, after) | SecondLetter(w, kU, after))) |
                  (w[kM] & SecondLetter(w, kE, after));
    }
    return m;
}

template <class Simd>
void BuildChunkMasksWith(const char* data, std::size_t count, const MaskBytes& bytes,
                         ChunkMasks* masks) {
    const Needles needles = NeedlesFor(bytes);
    const int used = bytes.words ? kAllBytes : kLineBytes;
    typename Simd::Needle wanted[kAllBytes];
    for (int i = 0; i < used; ++i) {
        wanted[i] = Simd::Splat(needles.bytes[i]);
    }
    for (std::size_t at = 0; at < count; at += kChunkBytes) {
        const typename Simd::Block block = Simd::Load(data + at);
        std::uint64_t eq[kAllBytes];
        for (int i = 0; i < used; ++i) {
            eq[i] = Simd::Equal(block, wanted[i]);
        }
        *masks++ = Combine(eq, bytes.words, data[at + kChunkBytes]);
    }
}

}  // namespace
}  // namespace sif
