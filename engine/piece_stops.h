// Where the line pieces of a block end, found once per block from the line
// end masks, so that the line walk (engine/line_walk.h) takes the pieces of a
// whole 64-byte chunk at a time. A piece ends at a line end or after
// kLinePieceMax bytes; a piece of exactly kLinePieceMax bytes is long and
// needs a notice before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/byte_masks.h"

namespace sif {

// Bit helpers for the masks of one chunk.

// Bits below n set; n is at most 64.
inline std::uint64_t BitsBelow(std::size_t n) {
    return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
}

// Bits from..to-1 set, from <= to <= 64.
inline std::uint64_t BitsFrom(std::size_t from, std::size_t to) {
    return BitsBelow(to) & ~BitsBelow(from);
}

inline std::size_t Lowest(std::uint64_t bits) {
    return static_cast<std::size_t>(__builtin_ctzll(bits));
}

inline std::size_t Highest(std::uint64_t bits) {
    return 63 - static_cast<std::size_t>(__builtin_clzll(bits));
}

inline std::size_t Count(std::uint64_t bits) {
    return static_cast<std::size_t>(__builtin_popcountll(bits));
}

class PieceStops {
  public:
    // For blocks of up to maxBlock bytes.
    explicit PieceStops(std::size_t maxBlock);

    // The pieces of a block of `count` bytes that starts with a piece, from
    // its masks.
    void Find(const ChunkMasks* masks, std::size_t count);

    // The last bytes of the whole pieces in chunk `chunk`, and a zero chunk
    // behind the block's last.
    const std::uint64_t* Chunks() const { return chunks_.get(); }

    // Where the unfinished piece at the block's end begins.
    std::size_t End() const { return end_; }

    // The starts of the long pieces, in order.
    std::size_t LongCount() const { return longCount_; }
    std::size_t Long(std::size_t i) const { return longs_[i]; }

  private:
    std::unique_ptr<std::uint64_t[]> chunks_;
    std::unique_ptr<std::size_t[]> longs_;
    std::size_t longCount_ = 0;
    std::size_t end_ = 0;
};

}  // namespace sif
