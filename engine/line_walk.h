// The line modes over the whole pieces of a block, 64 bytes at a time: which
// bytes lie inside a stretch comes from the delimiter masks with a few word
// operations, as in the multiline filter (engine/stream_masks.h), but starting
// afresh behind every piece's end (engine/piece_stops.h); the kept bytes go
// out run by run. For every piece it writes what FilterLinePiece writes, for
// the text kind with delimiters that are neither LF nor NUL.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/byte_masks.h"
#include "engine/kernels/kernel_table.h"
#include "engine/line_scanner.h"

namespace sif {

class LineWalk {
  public:
    LineWalk(const LineSettings& settings, PackChunkFunction packChunk);

    // Whether it filters for `settings`.
    static bool Handles(const LineSettings& settings);

    // Forgets the state of the block before.
    void Restart() { inside_ = dropping_ = false; }

    // Filters block[from, to) with the block's masks and piece ends: `from`
    // starts a piece or is where the last call stopped, `to` starts a piece.
    // Returns where it stopped: `to`, or earlier once the output reached
    // drainAt. Reads up to 127 bytes behind `to`.
    std::size_t Run(const char* block, const ChunkMasks* masks, const std::uint64_t* stops,
                    std::size_t from, std::size_t to, LineOutput* out);

  private:
    std::size_t Strip(const char* block, const ChunkMasks* masks, const std::uint64_t* stops,
                      std::size_t from, std::size_t to, LineOutput* out);
    std::size_t Extract(const char* block, const ChunkMasks* masks, const std::uint64_t* stops,
                        std::size_t from, std::size_t to, LineOutput* out);

    PackChunkFunction pack_;  // the set's, or one that copies run by run
    bool equal_;
    bool positive_;
    bool inside_ = false;    // in a stretch at the end of the last chunk
    bool dropping_ = false;  // behind a NUL at the end of the last chunk
};

}  // namespace sif
