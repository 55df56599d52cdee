#include "engine/line_walk.h"

#include <cstring>

#include "engine/delimiter_rules.h"
#include "engine/extract_request.h"
#include "engine/pack_runs.h"
#include "engine/piece_masks.h"
#include "engine/piece_stops.h"

namespace sif {

namespace {

// A copy or pack that starts in a block's last chunk reads this far.
static_assert(kBlockPadding >= 2 * kChunkBytes - 1);

// An output position in or behind a packed chunk, worked out only when it is
// needed: behind the first `bits` bytes of the chunk, or at `end` when
// `bits` reaches past the chunk.
struct LazyEnd {
    char* first;
    std::uint64_t keep;
    std::size_t bits;
    char* end;

    static LazyEnd At(char* at) { return {at, 0, 0, at}; }

    char* Get() const { return bits > kChunkBytes ? end : first + Count(keep & BitsBelow(bits)); }
};

}  // namespace

LineWalk::LineWalk(const LineSettings& settings, PackChunkFunction packChunk)
    : pack_(packChunk != nullptr ? packChunk : PackRuns),
      equal_(settings.left == settings.right),
      positive_(settings.positive == 1) {}

bool LineWalk::Handles(const LineSettings& s) {
    auto plain = [](char c) { return c != '\n' && c != '\0'; };
    return s.kind != KindResource && plain(s.left) && plain(s.right);
}

std::size_t LineWalk::Run(const char* block, const ChunkMasks* masks, const std::uint64_t* stops,
                          std::size_t from, std::size_t to, LineOutput* out) {
    return positive_ ? Extract(block, masks, stops, from, to, out)
                     : Strip(block, masks, stops, from, to, out);
}

std::size_t LineWalk::Strip(const char* block, const ChunkMasks* masks, const std::uint64_t* stops,
                            std::size_t from, std::size_t to, LineOutput* out) {
    char* o = out->data + out->size;
    const char* const full = out->data + out->drainAt;
    std::size_t at = from;
    while (at < to && o < full) {
        const std::size_t chunk = at / kChunkBytes;
        const std::size_t base = chunk * kChunkBytes;
        const std::size_t end = to - base < kChunkBytes ? to - base : kChunkBytes;
        const std::uint64_t range = BitsFrom(at - base, end);
        const ChunkMasks& m = masks[chunk];
        const std::uint64_t left = m.left & range;
        const std::uint64_t right = m.right & range;
        const std::uint64_t stop = stops[chunk] & range;
        std::uint64_t drop = 0;
        if ((m.nul & range) != 0 || dropping_) {
            const NulCut cut = CutAtNuls(m.nul, stop, range, &dropping_);
            drop = cut.first | cut.after;
        }
        const std::uint64_t inside =
            equal_ ? ResetAtStops(Parity(left, inside_), stop, &inside_)
                   : InsideDifferentPieces(left, right, stop, range, &inside_);
        // No delimiter is kept: a right one outside a stretch stands alone,
        // which KeepOutside drops as well.
        const std::uint64_t kept = range & ~(inside | left | right | drop);
        if (kept == range) {
            o = CopyShort(o, block + at, end - (at - base));
        } else {
            o = pack_(o, block + base, kept, 0);
        }
        at = base + end;
    }
    out->size = static_cast<std::size_t>(o - out->data);
    return at;
}

std::size_t LineWalk::Extract(const char* block, const ChunkMasks* masks,
                              const std::uint64_t* stops, std::size_t from, std::size_t to,
                              LineOutput* out) {
    char* o = out->data + out->size;
    const char* const full = out->data + out->drainAt;
    LazyEnd lineMark = LazyEnd::At(o);    // where the output of the piece walked begins
    LazyEnd closedMark = LazyEnd::At(o);  // behind its last closed stretch
    bool inside = false;
    bool openedLast = false;   // a stretch opened at the last chunk's end
    bool emptyOnLine = false;  // an empty stretch on the line at its end
    for (std::size_t at = from; at < to;) {
        const std::size_t chunk = at / kChunkBytes;
        const std::size_t base = chunk * kChunkBytes;
        const std::size_t end = to - base < kChunkBytes ? to - base : kChunkBytes;
        const std::uint64_t range = BitsFrom(at - base, end);
        const ChunkMasks& m = masks[chunk];
        std::uint64_t left = m.left & range;
        std::uint64_t right = m.right & range;
        const std::uint64_t pieceEnds = stops[chunk] & range;
        std::uint64_t stop = pieceEnds;
        bool plain = true;  // no NUL, no stretch left open or empty
        if ((m.nul & range) != 0 || dropping_) {
            plain = false;
            // The first NUL ends what the piece offers.
            const NulCut cut = CutAtNuls(m.nul, pieceEnds, range, &dropping_);
            left &= ~cut.after;
            right &= ~cut.after;
            stop = (stop & ~cut.after) | cut.first;
        }
        // Bit i set when byte i - 1 is a backslash.
        const std::uint64_t escaped =
            m.backslash << 1 | (chunk > 0 ? masks[chunk - 1].backslash >> 63 : 0);
        std::uint64_t closes;
        std::uint64_t opens;
        std::uint64_t unclosed;
        std::uint64_t text;
        if (equal_) {
            // A quote behind a backslash opens a stretch, but inside one it
            // is text: whether it counts depends on the state before it.
            std::uint64_t quotes = left;
            std::uint64_t prefix = Parity(quotes, inside);
            const std::uint64_t refused = quotes & ~ClosingRights(quotes, escaped);
            if (refused == 0) {
                prefix = ResetAtStops(prefix, stop, &inside);
            } else {
                prefix = RefuseEscaped(prefix, &quotes, refused, stop, stops[chunk], inside);
                inside = (prefix & ~stop) >> 63 != 0;
            }
            closes = quotes & ~prefix;
            opens = quotes & prefix;
            unclosed = prefix & stop;
            text = prefix & ~quotes & ~stop & range;
        } else {
            const std::uint64_t closable = ClosingRights(right, escaped);
            const std::uint64_t in = InsideDifferentPieces(left, closable, stop, range, &inside);
            closes = closable & in;
            opens = left & ~in;
            unclosed = in & stop & ~closable;
            text = in & ~closable & ~stop;
        }
        const char* const bytes = block + base;
        const std::uint64_t empty = closes & (opens << 1 | std::uint64_t{openedLast});
        openedLast = (opens >> 63) != 0;
        // Whether the line is one empty stretch alone is known at its end,
        // which may lie chunks later.
        const bool emptyBefore = emptyOnLine;
        emptyOnLine =
            stop != 0 ? (empty & ~BitsBelow(Highest(stop) + 1)) != 0 : emptyOnLine || empty != 0;
        if (plain && (unclosed | empty) == 0 && !emptyBefore) {
            // Every stretch closed, none empty: the chunk's output is its
            // text, each closing delimiter made CR and the byte behind it
            // LF, packed at once.
            char* const first = o;
            const std::uint64_t keep = text | closes | closes << 1;
            o = pack_(o, bytes, keep, closes);
            if ((closes >> 63) != 0) {
                *o++ = '\n';
            }
            if ((closes | stop) != 0) {
                const std::size_t lastClose = closes != 0 ? Highest(closes) + 2 : 0;
                const std::size_t lastStop = stop != 0 ? Highest(stop) + 1 : 0;
                closedMark = {first, keep, lastClose > lastStop ? lastClose : lastStop, o};
                if (stop != 0) {
                    // A stretch closed by the piece's last byte ends in the
                    // LF behind it.
                    lineMark = {first, keep,
                                lastStop + static_cast<std::size_t>(closes >> (lastStop - 1) & 1),
                                o};
                    if (o >= full) {
                        out->size = static_cast<std::size_t>(lineMark.Get() - out->data);
                        return base + lastStop;
                    }
                }
            }
            at = base + end;
            continue;
        }
        char* line = lineMark.Get();
        char* closed = closedMark.Get();
        // The events come in any order, so they are taken without branches
        // where that is cheap: a copy and a CR LF stored every time, and
        // kept by moving `o` or not.
        std::uint64_t pending = text;  // not copied yet
        // Every piece's end is looked at, also behind a NUL, so that the output
        // never takes more than one piece beyond drainAt.
        for (std::uint64_t events = closes | stop | pieceEnds; events != 0; events &= events - 1) {
            const std::size_t b = Lowest(events);
            const std::uint64_t bit = std::uint64_t{1} << b;
            const std::uint64_t before = pending & (bit - 1);
            pending &= ~(bit - 1);
            if ((unclosed & bit) != 0) {
                o = closed;  // a stretch never closed on its line is dropped
            } else {
                const std::size_t s = Lowest(before | bit);
                o = CopyShort(o, bytes + s, b - s);
                std::memcpy(o, "\r\n", 2);
                const bool close = (closes & bit) != 0;
                o += close ? 2 : 0;
                closed = close ? o : closed;
            }
            // Stretches are joined by CR LF and the piece's output ends in
            // it, but one empty stretch alone leaves nothing.
            const bool lineEnd = (stop & bit) != 0;
            o = lineEnd && o - line == 2 ? line : o;
            line = lineEnd ? o : line;
            closed = lineEnd ? o : closed;
            if ((pieceEnds & bit) != 0 && o >= full) {
                // The next piece starts afresh, whatever NUL the rest
                // of the chunk holds.
                dropping_ = false;
                out->size = static_cast<std::size_t>(o - out->data);
                return base + b + 1;
            }
        }
        if (pending != 0) {
            const std::size_t s = Lowest(pending);
            o = CopyShort(o, bytes + s, end - s);
        }
        lineMark = LazyEnd::At(line);
        closedMark = LazyEnd::At(closed);
        at = base + end;
    }
    out->size = static_cast<std::size_t>(o - out->data);
    return to;
}

}  // namespace sif
