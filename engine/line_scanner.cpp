#include "engine/line_scanner.h"

#include <cstring>

#include "engine/classify_resource_line.h"
#include "engine/delimiter_rules.h"
#include "engine/extract_delimited.h"
#include "engine/extract_request.h"
#include "engine/line_limits.h"
#include "engine/line_walk.h"
#include "engine/piece_stops.h"
#include "engine/resource_walk.h"
#include "engine/strip_delimited.h"

namespace sif {

namespace {

constexpr std::size_t kPieceMax = kLinePieceMax;

// Output of one piece at most: its text (pieces joined by CR LF never grow
// past the piece), CR LF or TAB keyword, and room for copies and packs that
// store whole 64-byte chunks.
constexpr std::size_t kPieceOutputMax = kPieceMax + 2 + kKeywordSize + 2 * kChunkBytes;

char* Append(char* to, const char* from, std::size_t count) {
    std::memcpy(to, from, count);
    return to + count;
}

// Ends a positive result of `length` bytes at `text` as the line operation
// writes it; an empty result writes nothing.
char* FinishPositive(const LineSettings& s, char* text, std::size_t length) {
    if (length == 0) {
        return text;
    }
    char* end = text + length;
    if (s.kind != KindResource) {
        return Append(end, "\r\n", 2);
    }
    *end++ = '\t';
    end = Append(end, g_szKeyword, strnlen(g_szKeyword, kKeywordSize - 1));
    return Append(end, s.sourceTail.data(), s.sourceTail.size());
}

}  // namespace

std::size_t LineOutputReserve(const LineSettings& settings) {
    return kPieceOutputMax + settings.sourceTail.size();
}

void FilterLinePiece(const LineSettings& s, const char* piece, int n, LineOutput* out) {
    char* to = out->data + out->size;
    const void* nulHit = std::memchr(piece, '\0', static_cast<std::size_t>(n));
    const int nul =
        nulHit != nullptr ? static_cast<int>(static_cast<const char*>(nulHit) - piece) : n;
    if (s.positive != 1) {
        // The first NUL ends the line; it is never kept.
        out->size += static_cast<std::size_t>(StripPieces(piece, nul, s.left, s.right, to));
        return;
    }
    const bool resourceMode = s.kind == KindResource;
    if (resourceMode && !ClassifyResourceText(piece, nul)) {
        return;
    }
    // The stored bytes, and none after the first NUL, which is examined itself.
    const int end = nul < n ? nul + 1 : n;
    const int length = ExtractPieces(piece, end, s.left, s.right, resourceMode, to);
    out->size = static_cast<std::size_t>(FinishPositive(s, to, static_cast<std::size_t>(length)) -
                                         out->data);
}

LineScanner::LineScanner(const LineSettings& settings, const KernelTable& kernels)
    : settings_(settings), buildMasks_(kernels.buildChunkMasks) {
    if (buildMasks_ != nullptr) {
        masks_ = std::make_unique_for_overwrite<ChunkMasks[]>(kMaxBlock / kChunkBytes + 1);
        if (LineWalk::Handles(settings)) {
            walk_ = std::make_unique<LineWalk>(settings, kernels.packChunk);
        } else if (ResourceWalk::Handles(settings)) {
            resourceWalk_ = std::make_unique<ResourceWalk>(settings);
        }
        if (walk_ || resourceWalk_) {
            stops_ = std::make_unique<PieceStops>(kMaxBlock);
        }
    }
}

LineScanner::~LineScanner() = default;

void LineScanner::Load(const char* block, std::size_t count) {
    block_ = block;
    count_ = count;
    pos_ = 0;
    announced_ = false;
    if (masks_) {
        const MaskBytes bytes{settings_.left, settings_.right,
                              settings_.positive == 1 && settings_.kind == KindResource};
        buildMasks_(block, count, bytes, masks_.get());
    }
    if (stops_) {
        // The resource walk reads the masks in 64-bit windows that may reach
        // into the chunk behind the block's last.
        masks_[(count + kChunkBytes - 1) / kChunkBytes] = ChunkMasks{};
        stops_->Find(masks_.get(), count);
        if (walk_) {
            walk_->Restart();
        }
        nextLong_ = 0;
    } else if (masks_) {
        nextNul_ = NextMarked<&ChunkMasks::nul>(masks_.get(), 0, count_);
    }
}

ScanStop LineScanner::Run(LineOutput* out) {
    return stops_ ? RunWalk(out) : RunPieces(out);
}

ScanStop LineScanner::RunWalk(LineOutput* out) {
    for (;;) {
        if (out->size >= out->drainAt) {
            return ScanStop::OutputFull;
        }
        if (pos_ == stops_->End()) {
            return ScanStop::NeedInput;
        }
        if (nextLong_ < stops_->LongCount() && stops_->Long(nextLong_) == pos_) {
            if (!announced_) {
                return ScanStop::LongPiece;
            }
            announced_ = false;
            ++nextLong_;
        }
        const std::size_t to =
            nextLong_ < stops_->LongCount() ? stops_->Long(nextLong_) : stops_->End();
        pos_ = walk_ ? walk_->Run(block_, masks_.get(), stops_->Chunks(), pos_, to, out)
                     : resourceWalk_->Run(block_, masks_.get(), stops_->Chunks(), pos_, to, out);
    }
}

ScanStop LineScanner::RunPieces(LineOutput* out) {
    for (;;) {
        if (out->size >= out->drainAt) {
            return ScanStop::OutputFull;
        }
        const std::size_t limit = pos_ + kPieceMax < count_ ? pos_ + kPieceMax : count_;
        std::size_t lf;
        if (masks_) {
            lf = NextMarked<&ChunkMasks::lf>(masks_.get(), pos_, limit);
        } else {
            const void* hit = std::memchr(block_ + pos_, '\n', limit - pos_);
            lf = hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - block_)
                                : limit;
        }
        std::size_t end;
        if (lf < limit) {
            end = lf + 1;
        } else if (pos_ + kPieceMax <= count_) {
            end = pos_ + kPieceMax;
        } else {
            return ScanStop::NeedInput;
        }
        if (end - pos_ == kPieceMax && !announced_) {
            return ScanStop::LongPiece;
        }
        announced_ = false;
        if (masks_) {
            FilterMasked(pos_, end, out);
        } else {
            FilterLinePiece(settings_, block_ + pos_, static_cast<int>(end - pos_), out);
        }
        pos_ = end;
    }
}

namespace {

// Copies in 16-byte steps: up to 15 bytes more are read behind `from` and
// written behind `to`, which the block's padding and the output's room allow.
char* CopyRun(char* to, const char* from, std::size_t count) {
    for (std::size_t i = 0; i < count; i += 16) {
        std::memcpy(to + i, from + i, 16);
    }
    return to + count;
}

}  // namespace

void LineScanner::FilterMasked(std::size_t from, std::size_t to, LineOutput* out) {
    if (nextNul_ < from) {
        nextNul_ = NextMarked<&ChunkMasks::nul>(masks_.get(), from, count_);
    }
    const std::size_t nul = nextNul_ < to ? nextNul_ : to;
    char* const text = out->data + out->size;
    if (settings_.positive != 1) {
        out->size = static_cast<std::size_t>(StripMasked(from, nul, text) - out->data);
        return;
    }
    // Resource scripts go to the resource walk: only the text kind is left.
    const std::size_t end = nul < to ? nul + 1 : to;
    const char* textEnd = ExtractMasked(from, end, text);
    out->size = static_cast<std::size_t>(
        FinishPositive(settings_, text, static_cast<std::size_t>(textEnd - text)) - out->data);
}

char* LineScanner::ExtractMasked(std::size_t from, std::size_t end, char* out) const {
    const ChunkMasks* const m = masks_.get();
    bool pieceFound = false;
    for (std::size_t p = from; p < end;) {
        const std::size_t leftPos = NextMarked<&ChunkMasks::left>(m, p, end);
        if (leftPos == end) {
            break;
        }
        std::size_t rightPos = leftPos + 1;
        for (;;) {
            rightPos = NextMarked<&ChunkMasks::right>(m, rightPos, end);
            if (rightPos == end) {
                return out;  // a piece never closed on its line is dropped
            }
            const int skip = SkipRefusedClose(block_, rightPos, end, settings_.right, false);
            if (skip == 0) {
                break;
            }
            rightPos += static_cast<std::size_t>(skip);
        }
        if (pieceFound) {
            out = Append(out, "\r\n", 2);
        }
        out = CopyRun(out, block_ + leftPos + 1, rightPos - leftPos - 1);
        pieceFound = true;
        p = rightPos + 1;  // the closing delimiter never opens the next piece
    }
    return out;
}

char* LineScanner::StripMasked(std::size_t from, std::size_t end, char* out) const {
    const ChunkMasks* const m = masks_.get();
    for (std::size_t p = from; p < end;) {
        const std::size_t open = NextMarked<&ChunkMasks::left>(m, p, end);
        KeepOutside(
            p, open, settings_.left == settings_.right,
            [m](std::size_t from, std::size_t to) {
                return NextMarked<&ChunkMasks::right>(m, from, to);
            },
            [&](std::size_t from, std::size_t to) {
                out = CopyRun(out, block_ + from, to - from);
            });
        if (open == end) {
            break;
        }
        p = NextMarked<&ChunkMasks::right>(m, open + 1, end) + 1;
    }
    return out;
}

}  // namespace sif
