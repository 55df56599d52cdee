// Bit masks over 64-byte chunks of a block, built in one vector pass by a
// kernel (engine/kernels): bit i of a chunk's mask is set when byte i of the
// chunk is the byte looked for. The line filters find line ends and
// delimiters in them with bit scans. A kernel builds the masks of
// data[0, count), one ChunkMasks per started chunk; it reads up to
// kChunkBytes + 1 bytes beyond data + count, which must be readable, and
// leaves the bits for positions from count on undefined.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sif {

inline constexpr std::size_t kChunkBytes = 64;

struct ChunkMasks {
    std::uint64_t lf;
    std::uint64_t left;
    std::uint64_t right;
    std::uint64_t backslash;
    std::uint64_t nul;
    std::uint64_t words;  // where a resource classifier word may begin
};

// The bytes the masks look for besides LF, backslash and NUL.
struct MaskBytes {
    char left;
    char right;
    bool words;  // words left 0 when false
};

// The first position in [from, to) whose bit in field `Field` of `masks` is
// set, or `to`.
template <std::uint64_t ChunkMasks::*Field>
std::size_t NextMarked(const ChunkMasks* masks, std::size_t from, std::size_t to) {
    if (from >= to) {
        return to;
    }
    std::size_t chunk = from / kChunkBytes;
    std::uint64_t bits = masks[chunk].*Field & (~std::uint64_t{0} << (from % kChunkBytes));
    while (bits == 0) {
        if (++chunk * kChunkBytes >= to) {
            return to;
        }
        bits = masks[chunk].*Field;
    }
    const std::size_t at = chunk * kChunkBytes + static_cast<std::size_t>(__builtin_ctzll(bits));
    return at < to ? at : to;
}

}  // namespace sif
