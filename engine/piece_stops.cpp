#include "engine/piece_stops.h"

#include "engine/line_limits.h"

namespace sif {

namespace {

constexpr std::size_t kPieceMax = kLinePieceMax;

}  // namespace

PieceStops::PieceStops(std::size_t maxBlock)
    : chunks_(std::make_unique_for_overwrite<std::uint64_t[]>(maxBlock / kChunkBytes + 1)),
      longs_(std::make_unique_for_overwrite<std::size_t[]>(maxBlock / kPieceMax + 1)) {}

void PieceStops::Find(const ChunkMasks* masks, std::size_t count) {
    std::size_t start = 0;  // of the piece that reaches into the chunk
    longCount_ = 0;
    for (std::size_t base = 0; base < count; base += kChunkBytes) {
        std::uint64_t lf = masks[base / kChunkBytes].lf;
        if (count - base < kChunkBytes) {
            lf &= BitsBelow(count - base);
        }
        // The last byte the piece may take. Lines within a chunk are shorter
        // than a piece, so only the first piece of a chunk can be cut.
        const std::size_t last = start + kPieceMax - 1;
        if (last < base + kChunkBytes) {
            const std::size_t firstLf = lf != 0 ? base + Lowest(lf) : count;
            if (last < firstLf) {
                longs_[longCount_++] = start;
                lf |= std::uint64_t{1} << (last - base);
                start = last + 1;
            } else if (lf != 0 && last == firstLf) {
                longs_[longCount_++] = start;
            }
        }
        if (lf != 0) {
            start = base + Highest(lf) + 1;
        }
        chunks_[base / kChunkBytes] = lf;
    }
    chunks_[(count + kChunkBytes - 1) / kChunkBytes] = 0;
    end_ = start;
}

}  // namespace sif
