#include "engine/line_walk.h"

#include <cstring>

#include "engine/extract_request.h"
#include "engine/piece_stops.h"
#include "engine/stream_masks.h"

namespace sif {

namespace {

// A copy that starts in a block's last chunk reads this far.
static_assert(kBlockPadding >= 2 * kChunkBytes - 1);

// Copies n bytes, at most 64, in 32-byte steps: up to 63 bytes more are read
// behind `from` and up to 31 written behind `to + n`.
char* CopyShort(char* to, const char* from, std::size_t n) {
    std::memcpy(to, from, 32);
    if (n > 32) {
        std::memcpy(to + 32, from + 32, 32);
    }
    return to + n;
}

int Lowest(std::uint64_t bits) {
    return __builtin_ctzll(bits);
}

// Behind a piece's first NUL nothing of the piece counts: `first` holds those
// NULs, `after` the bytes behind them up to the piece's last byte. `stops`
// holds the last bytes in `range`; `*dropping` says that the range begins
// behind a NUL, and on return whether the next chunk does.
struct NulCut {
    std::uint64_t first = 0;
    std::uint64_t after = 0;
};

NulCut CutAtNuls(std::uint64_t nul, std::uint64_t stops, std::uint64_t range, bool* dropping) {
    NulCut cut;
    std::uint64_t todo = nul & range;
    if (*dropping) {
        if (stops == 0) {
            cut.after = range;
            return cut;
        }
        const std::uint64_t through = BitsBelow(static_cast<std::size_t>(Lowest(stops)) + 1);
        cut.after = through & range;
        todo &= ~through;
        *dropping = false;
    }
    while (todo != 0) {
        const auto at = static_cast<std::size_t>(Lowest(todo));
        cut.first |= std::uint64_t{1} << at;
        const std::uint64_t later = stops & ~BitsBelow(at);
        if (later == 0) {
            cut.after |= range & ~BitsBelow(at + 1);
            *dropping = true;
            break;
        }
        const auto end = static_cast<std::size_t>(Lowest(later)) + 1;
        cut.after |= BitsFrom(at + 1, end);
        todo &= ~BitsBelow(end);
    }
    return cut;
}

// Bytes inside a stretch when the delimiters differ, as InsideDifferent, but
// with every piece's last byte ending a stretch; the bits set are the bytes
// the stretch takes, the right delimiter that closes it and an unclosed
// piece's last byte included.
std::uint64_t InsideDifferentPieces(std::uint64_t left, std::uint64_t right, std::uint64_t stops,
                                    std::uint64_t range, bool* inside) {
    const std::uint64_t runs = range & ~(right | stops);
    const std::uint64_t opens = left & ~stops;
    std::uint64_t sum;
    bool carry = __builtin_add_overflow(runs, opens, &sum);
    carry |= __builtin_add_overflow(sum, std::uint64_t{*inside}, &sum);
    *inside = carry;
    return sum ^ runs ^ opens;
}

// Bit i set when in a stretch after byte i, delimiters equal, each piece's
// last byte ending a stretch. `prefix` is the parity from the delimiters;
// the stretches still open at a piece's last byte are turned off behind it.
std::uint64_t ResetAtStops(std::uint64_t prefix, std::uint64_t stops, bool* inside) {
    for (std::uint64_t open = stops & prefix; open != 0;) {
        const std::uint64_t behind = ~BitsBelow(static_cast<std::size_t>(Lowest(open)) + 1);
        prefix ^= behind;
        open = stops & prefix & behind;
    }
    *inside = (prefix & ~stops) >> 63 != 0;
    return prefix;
}

// ResetAtStops for a chunk with quotes behind a backslash (`escaped`): such
// a quote outside a stretch opens one, inside one it is text and leaves the
// quotes. `pieceEnds` holds every piece's last byte in the chunk; `inside`
// is the state before the chunk.
std::uint64_t RefuseEscaped(std::uint64_t prefix, std::uint64_t* quotes, std::uint64_t escaped,
                            std::uint64_t stops, std::uint64_t pieceEnds, bool inside) {
    for (std::uint64_t events = escaped | stops; events != 0; events &= events - 1) {
        const auto b = static_cast<std::size_t>(Lowest(events));
        const std::uint64_t bit = std::uint64_t{1} << b;
        if ((escaped & bit) != 0) {
            const bool before =
                b == 0 ? inside : (pieceEnds >> (b - 1) & 1) == 0 && (prefix >> (b - 1) & 1) != 0;
            if (before) {
                prefix ^= ~BitsBelow(b);
                *quotes &= ~bit;
            }
        }
        if ((stops & prefix & bit) != 0) {
            prefix ^= ~BitsBelow(b + 1);
        }
    }
    return prefix;
}

std::uint64_t Parity(std::uint64_t bits, bool inside) {
    return PrefixXor(bits) ^ (inside ? ~std::uint64_t{0} : 0);
}

char* KeepRuns(char* out, const char* chunk, std::uint64_t kept) {
    while (kept != 0) {
        const auto from = static_cast<std::size_t>(Lowest(kept));
        const std::uint64_t passed = kept + (std::uint64_t{1} << from);
        const std::size_t to = passed != 0 ? static_cast<std::size_t>(Lowest(passed)) : 64;
        out = CopyShort(out, chunk + from, to - from);
        kept &= passed;
    }
    return out;
}

}  // namespace

LineWalk::LineWalk(const LineSettings& settings)
    : equal_(settings.left == settings.right), positive_(settings.positive == 1) {}

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
        const std::uint64_t kept = range & ~(inside | left | right | drop);
        o = kept == range ? CopyShort(o, block + at, end - (at - base))
                          : KeepRuns(o, block + base, kept);
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
    char* line = o;    // where the output of the piece walked begins
    char* closed = o;  // behind its last closed stretch
    bool inside = false;
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
        if ((m.nul & range) != 0 || dropping_) {
            // The first NUL ends what the piece offers.
            const NulCut cut = CutAtNuls(m.nul, pieceEnds, range, &dropping_);
            left &= ~cut.after;
            right &= ~cut.after;
            stop = (stop & ~cut.after) | cut.first;
        }
        // A right delimiter behind a backslash closes nothing.
        const std::uint64_t escaped =
            m.backslash << 1 | (chunk > 0 ? masks[chunk - 1].backslash >> 63 : 0);
        std::uint64_t closes;
        std::uint64_t unclosed;
        std::uint64_t text;
        if (equal_) {
            // A quote behind a backslash opens a stretch, but inside one it
            // is text: whether it counts depends on the state before it.
            std::uint64_t quotes = left;
            std::uint64_t prefix = Parity(quotes, inside);
            if ((quotes & escaped) == 0) {
                prefix = ResetAtStops(prefix, stop, &inside);
            } else {
                prefix =
                    RefuseEscaped(prefix, &quotes, quotes & escaped, stop, stops[chunk], inside);
                inside = (prefix & ~stop) >> 63 != 0;
            }
            closes = quotes & ~prefix;
            unclosed = prefix & stop;
            text = prefix & ~quotes & ~stop & range;
        } else {
            const std::uint64_t closable = right & ~escaped;
            const std::uint64_t in = InsideDifferentPieces(left, closable, stop, range, &inside);
            closes = closable & in;
            unclosed = in & stop & ~closable;
            text = in & ~closable & ~stop;
        }
        const char* const bytes = block + base;
        std::size_t prev = at - base;
        // Every piece's end is looked at, also behind a NUL, so that the output
        // never takes more than one piece beyond drainAt.
        for (std::uint64_t events = closes | stop | pieceEnds; events != 0; events &= events - 1) {
            const auto b = static_cast<std::size_t>(Lowest(events));
            const std::uint64_t bit = std::uint64_t{1} << b;
            if ((unclosed & bit) != 0) {
                o = closed;  // a stretch never closed on its line is dropped
            } else {
                const std::uint64_t run = text & BitsFrom(prev, b);
                if (run != 0) {
                    const auto s = static_cast<std::size_t>(Lowest(run));
                    o = CopyShort(o, bytes + s, b - s);
                }
                if ((closes & bit) != 0) {
                    std::memcpy(o, "\r\n", 2);
                    closed = o += 2;
                }
            }
            if ((stop & bit) != 0) {
                // Stretches are joined by CR LF and the piece's output ends
                // in it, but one empty stretch alone leaves nothing.
                if (o - line == 2) {
                    o = line;
                }
                line = closed = o;
            }
            if (o >= full && (pieceEnds & bit) != 0) {
                // The next piece starts afresh, whatever NUL the rest
                // of the chunk holds.
                dropping_ = false;
                out->size = static_cast<std::size_t>(o - out->data);
                return base + b + 1;
            }
            prev = b + 1;
        }
        const std::uint64_t rest = text & BitsFrom(prev, kChunkBytes);
        if (rest != 0) {
            const auto s = static_cast<std::size_t>(Lowest(rest));
            o = CopyShort(o, bytes + s, end - s);
        }
        at = base + end;
    }
    out->size = static_cast<std::size_t>(o - out->data);
    return to;
}

}  // namespace sif
