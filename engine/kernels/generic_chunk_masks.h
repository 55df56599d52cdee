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

// The first letters of the classifier's words, looked for in the chunk, and
// their second letters, looked for in the chunk one byte on.
constexpr char kFirstLetters[] = {'}', 'S', 'L', 'R', 'E', 'C', 'P', 'M'};
enum FirstLetter { kBrace, kS, kL, kR, kE, kC, kP, kM };
constexpr char kSecondLetters[] = {'T', 'N', 'A', 'O', 'U', 'E'};
enum SecondLetter { kT, kN, kA, kO, kU, kSecondE };
constexpr int kFirstCount = sizeof kFirstLetters;
constexpr int kSecondCount = sizeof kSecondLetters;

constexpr int kChunkBytesLooked = kLineBytes + kFirstCount;

struct Needles {
    char bytes[kChunkBytesLooked + kSecondCount];
};

Needles NeedlesFor(const MaskBytes& b) {
    Needles n{{'\n', b.left, b.right, '\\', '\0'}};
    for (int i = 0; i < kFirstCount; ++i) {
        n.bytes[kLineBytes + i] = kFirstLetters[i];
    }
    for (int i = 0; i < kSecondCount; ++i) {
        n.bytes[kChunkBytesLooked + i] = kSecondLetters[i];
    }
    return n;
}

// `eq` holds the chunk's mask for each needle, the second letters' masks
// taken one byte on, so that bit i stands for the byte behind byte i.
ChunkMasks Combine(const std::uint64_t* eq, bool words) {
    ChunkMasks m{eq[0], eq[1], eq[2], eq[3], eq[4], 0};
    if (words) {
        const std::uint64_t* w = eq + kLineBytes;
        const std::uint64_t* second = eq + kChunkBytesLooked;
        m.words = w[kBrace] | ((w[kS] | w[kL] | w[kR]) & second[kT]) | (w[kE] & second[kN]) |
                  (w[kC] & (second[kA] | second[kO] | second[kT])) |
                  (w[kP] & (second[kO] | second[kU])) | (w[kM] & second[kSecondE]);
    }
    return m;
}

template <class Simd>
void BuildChunkMasksWith(const char* data, std::size_t count, const MaskBytes& bytes,
                         ChunkMasks* masks) {
    constexpr int kAll = kChunkBytesLooked + kSecondCount;
    const Needles needles = NeedlesFor(bytes);
    const int used = bytes.words ? kAll : kLineBytes;
    typename Simd::Needle wanted[kAll];
    for (int i = 0; i < used; ++i) {
        wanted[i] = Simd::Splat(needles.bytes[i]);
    }
    for (std::size_t at = 0; at < count; at += kChunkBytes) {
        const typename Simd::Block block = Simd::Load(data + at);
        std::uint64_t eq[kAll];
        for (int i = 0; i < kLineBytes; ++i) {
            eq[i] = Simd::Equal(block, wanted[i]);
        }
        if (bytes.words) {
            for (int i = kLineBytes; i < kChunkBytesLooked; ++i) {
                eq[i] = Simd::Equal(block, wanted[i]);
            }
            const typename Simd::Block next = Simd::Load(data + at + 1);
            for (int i = kChunkBytesLooked; i < kAll; ++i) {
                eq[i] = Simd::Equal(next, wanted[i]);
            }
        }
        *masks++ = Combine(eq, bytes.words);
    }
}

}  // namespace
}  // namespace sif
