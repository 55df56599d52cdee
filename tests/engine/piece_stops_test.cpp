// The piece ends of a block, found once per chunk, against a walk from piece
// to piece, for lines around the 64-byte chunks and the 498-byte pieces.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/byte_masks.h"
#include "engine/line_limits.h"
#include "engine/piece_stops.h"
#include "tests/engine/reference_piece_end.h"

namespace sif {
namespace {

struct Pieces {
    std::vector<std::size_t> lastBytes;
    std::vector<std::size_t> longStarts;
    std::size_t end = 0;
};

Pieces WalkPieces(const std::string& block) {
    Pieces p;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t end = test::ReferencePieceEnd(block, pos);
        if (end == std::string::npos) {
            p.end = pos;
            return p;
        }
        if (end - pos == kLinePieceMax) {
            p.longStarts.push_back(pos);
        }
        p.lastBytes.push_back(end - 1);
        pos = end;
    }
}

Pieces FoundPieces(const std::string& block) {
    std::vector<ChunkMasks> masks(block.size() / kChunkBytes + 1, ChunkMasks{});
    for (std::size_t i = 0; i < block.size(); ++i) {
        // Bits behind the block are left set: Find must not take them.
        masks[i / kChunkBytes].lf |= std::uint64_t{block[i] == '\n'} << (i % kChunkBytes);
    }
    masks.back().lf |= ~BitsBelow(block.size() % kChunkBytes);
    PieceStops stops(block.size() + kChunkBytes);
    stops.Find(masks.data(), block.size());
    Pieces p;
    for (std::size_t i = 0; i < block.size(); ++i) {
        if ((stops.Chunks()[i / kChunkBytes] >> (i % kChunkBytes) & 1) != 0) {
            p.lastBytes.push_back(i);
        }
    }
    for (std::size_t i = 0; i < stops.LongCount(); ++i) {
        p.longStarts.push_back(stops.Long(i));
    }
    p.end = stops.End();
    return p;
}

TEST(PieceStops, MarksEveryPieceEndAndEveryLongPiece) {
    const std::size_t lengths[] = {0,   1,   62,  63,  64,  65,  433, 434,
                                   496, 497, 498, 499, 995, 996, 1500};
    std::mt19937 random(64);
    for (int round = 0; round < 200; ++round) {
        std::string block;
        while (block.size() < 3000) {
            block += std::string(lengths[random() % std::size(lengths)], 'x') + '\n';
        }
        // Blocks that end in every part of a chunk and of a piece.
        block = block.substr(0, block.size() - random() % 700);
        SCOPED_TRACE(round);
        const Pieces expected = WalkPieces(block);
        const Pieces found = FoundPieces(block);
        ASSERT_EQ(found.lastBytes, expected.lastBytes);
        ASSERT_EQ(found.longStarts, expected.longStarts);
        ASSERT_EQ(found.end, expected.end);
    }
}

}  // namespace
}  // namespace sif
