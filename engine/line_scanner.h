// The line operation's filtering over a large read block: the 498-byte pieces
// are found and filtered where they lie, and only the kept bytes are copied,
// into one output buffer. The vector levels find line ends and delimiters in
// bit masks and, where LineWalk or ResourceWalk handles the settings, hand
// the block's pieces to it at once; the scalar set goes piece by piece with
// memchr.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "engine/byte_masks.h"
#include "engine/kernels/kernel_table.h"

namespace sif {

// What the line operation was asked to do.
struct LineSettings {
    char left;
    char right;
    int kind;                     // 1 resource, else text
    int positive;                 // 1 positive, else negative
    std::string_view sourceTail;  // resource records end in TAB source CR LF
};

// Filtered output waiting to be written. `data` has room for `drainAt` bytes
// and one more piece's output.
struct LineOutput {
    char* data;
    std::size_t size;
    std::size_t drainAt;
};

// The room LineOutput needs behind `drainAt`.
std::size_t LineOutputReserve(const LineSettings& settings);

// Bytes that must be readable behind a block handed to LineScanner::Load.
inline constexpr std::size_t kBlockPadding = 128;

// Filters one stored line piece, n bytes (the NUL stored for the read that
// found the end counted) that need not be followed by a NUL, and appends its
// output. The reference for the vector levels.
void FilterLinePiece(const LineSettings& settings, const char* piece, int n, LineOutput* out);

enum class ScanStop {
    NeedInput,   // the rest of the block is no whole piece
    LongPiece,   // a 498-byte piece is next; call Announced() to let it go
    OutputFull,  // the output reached drainAt
};

class LineWalk;
class PieceStops;
class ResourceWalk;

class LineScanner {
  public:
    LineScanner(const LineSettings& settings, const KernelTable& kernels);
    ~LineScanner();
    LineScanner(const LineScanner&) = delete;
    LineScanner& operator=(const LineScanner&) = delete;

    // The largest block Load takes.
    static constexpr std::size_t kMaxBlock = 128 * 1024 + 512;

    // Takes block[0, count), kBlockPadding readable bytes behind it; pieces
    // begin at its start.
    void Load(const char* block, std::size_t count);

    // Filters whole pieces from the current position on.
    ScanStop Run(LineOutput* out);

    // The long piece at the current position is filtered by the next Run.
    void Announced() { announced_ = true; }

    // Where the unfinished piece begins (the block's end when there is none).
    std::size_t Position() const { return pos_; }

  private:
    ScanStop RunPieces(LineOutput* out);
    ScanStop RunWalk(LineOutput* out);
    void FilterMasked(std::size_t from, std::size_t to, LineOutput* out);
    char* ExtractMasked(std::size_t from, std::size_t end, char* out) const;
    char* StripMasked(std::size_t from, std::size_t end, char* out) const;
    LineSettings settings_;
    BuildChunkMasksFunction buildMasks_;
    std::unique_ptr<ChunkMasks[]> masks_;  // none for the scalar set
    // Where a walk handles the settings, the pieces of a block go to it at
    // once, their ends found in one pass.
    std::unique_ptr<LineWalk> walk_;
    std::unique_ptr<ResourceWalk> resourceWalk_;
    std::unique_ptr<PieceStops> stops_;
    std::size_t nextLong_ = 0;
    std::size_t nextNul_ = 0;
    const char* block_ = nullptr;
    std::size_t count_ = 0;
    std::size_t pos_ = 0;
    bool announced_ = false;
};

}  // namespace sif
