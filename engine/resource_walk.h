// The resource kind's line mode over the whole pieces of a block: a piece's
// end, first NUL, classifier words and first delimited text are found in
// 64-bit windows of the block's masks (engine/byte_masks.h) and piece ends
// (engine/piece_stops.h), the words checked with fixed-width loads, and a
// record goes out as its text and a suffix made once per run ("\tCAPTION"
// and the source tail). For every piece it writes what FilterLinePiece
// writes, and leaves g_szKeyword and g_bInStringTable as that leaves them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/byte_masks.h"
#include "engine/line_scanner.h"
#include "engine/resource_words.h"

namespace sif {

class ResourceWalk {
  public:
    explicit ResourceWalk(const LineSettings& settings);

    // Whether it filters for `settings`.
    static bool Handles(const LineSettings& settings);

    // Filters block[from, to) with the block's masks and piece ends, where
    // `from` and `to` start pieces; both tables must hold a zero chunk behind
    // the block's last. Returns where it stopped: `to`, or earlier once the
    // output reached drainAt. Reads up to 31 bytes behind `to`.
    std::size_t Run(const char* block, const ChunkMasks* masks, const std::uint64_t* stops,
                    std::size_t from, std::size_t to, LineOutput* out);

  private:
    // A suffix per classifier word, and one for the keyword a run starts with.
    static constexpr std::size_t kStartSlot = std::size(kResourceWords);
    static constexpr std::size_t kSlots = kStartSlot + 1;

    void SetSuffix(std::size_t slot, std::string_view keyword);

    // Filters the piece line[0, length) and returns the output's end.
    template <class Marks>
    char* Piece(const Marks& marks, const char* line, std::size_t length, char* o);

    char right_;
    std::string_view tail_;
    std::size_t stride_;  // of a slot, with room for copies in 32-byte steps
    std::unique_ptr<char[]> suffixes_;
    std::array<std::size_t, kSlots> sizes_{};
    std::size_t keyword_ = kStartSlot;  // the slot of the keyword set last
};

}  // namespace sif
