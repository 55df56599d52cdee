#include "engine/line_scanner.h"

#include <cstring>

#include "engine/classify_resource_line.h"
#include "engine/extract_delimited.h"
#include "engine/extract_file.h"
#include "engine/extract_request.h"
#include "engine/strip_delimited.h"

namespace sif {

namespace {

constexpr std::size_t kPieceMax = kLinePieceMax;

// Output of one piece at most: its text (pieces joined by CR LF never grow
// past the piece), CR LF or TAB keyword, and room for copies in 16-byte steps.
constexpr std::size_t kPieceOutputMax = kPieceMax + 2 + kKeywordSize + 16;

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
    if (resourceMode && !ClassifyResourceText(piece, nul, 0)) {
        return;
    }
    // The stored bytes, and none after the first NUL, which is examined itself.
    const int end = nul < n ? nul + 1 : n;
    const int length = ExtractPieces(piece, end, s.left, s.right, resourceMode, to);
    out->size = static_cast<std::size_t>(FinishPositive(s, to, static_cast<std::size_t>(length)) -
                                         out->data);
}

LineScanner::LineScanner(const LineSettings& settings) : settings_(settings) {}

void LineScanner::Load(const char* block, std::size_t count) {
    block_ = block;
    count_ = count;
    pos_ = 0;
    announced_ = false;
}

ScanStop LineScanner::Run(LineOutput* out) {
    for (;;) {
        if (out->size >= out->drainAt) {
            return ScanStop::OutputFull;
        }
        const std::size_t limit = pos_ + kPieceMax < count_ ? pos_ + kPieceMax : count_;
        const void* hit = std::memchr(block_ + pos_, '\n', limit - pos_);
        const std::size_t lf =
            hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - block_)
                           : limit;
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
        FilterLinePiece(settings_, block_ + pos_, static_cast<int>(end - pos_), out);
        pos_ = end;
    }
}

}  // namespace sif
