// Which bytes of a 64-byte chunk lie inside a stretch when every piece's end
// (engine/piece_stops.h) ends the stretch it is in: the multiline filter's
// word operations (engine/stream_masks.h), restarted behind each piece.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/piece_stops.h"
#include "engine/stream_masks.h"

namespace sif {

// Behind a piece's first NUL nothing of the piece counts: `first` holds those
// NULs, `after` the bytes behind them up to the piece's last byte. `stops`
// holds the last bytes in `range`; `*dropping` says that the range begins
// behind a NUL, and on return whether the next chunk does.
struct NulCut {
    std::uint64_t first = 0;
    std::uint64_t after = 0;
};

inline NulCut CutAtNuls(std::uint64_t nul, std::uint64_t stops, std::uint64_t range,
                        bool* dropping) {
    NulCut cut;
    std::uint64_t todo = nul & range;
    if (*dropping) {
        if (stops == 0) {
            cut.after = range;
            return cut;
        }
        const std::uint64_t through = BitsBelow((Lowest(stops)) + 1);
        cut.after = through & range;
        todo &= ~through;
        *dropping = false;
    }
    while (todo != 0) {
        const std::size_t at = Lowest(todo);
        cut.first |= std::uint64_t{1} << at;
        const std::uint64_t later = stops & ~BitsBelow(at);
        if (later == 0) {
            cut.after |= range & ~BitsBelow(at + 1);
            *dropping = true;
            break;
        }
        const std::size_t end = Lowest(later) + 1;
        cut.after |= BitsFrom(at + 1, end);
        todo &= ~BitsBelow(end);
    }
    return cut;
}

// Bytes inside a stretch when the delimiters differ, as InsideDifferent, but
// with every piece's last byte ending a stretch; the bits set are the bytes
// the stretch takes, the right delimiter that closes it and an unclosed
// piece's last byte included.
inline std::uint64_t InsideDifferentPieces(std::uint64_t left, std::uint64_t right,
                                           std::uint64_t stops, std::uint64_t range, bool* inside) {
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
inline std::uint64_t ResetAtStops(std::uint64_t prefix, std::uint64_t stops, bool* inside) {
    for (std::uint64_t open = stops & prefix; open != 0;) {
        const std::uint64_t behind = ~BitsBelow((Lowest(open)) + 1);
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
inline std::uint64_t RefuseEscaped(std::uint64_t prefix, std::uint64_t* quotes,
                                   std::uint64_t escaped, std::uint64_t stops,
                                   std::uint64_t pieceEnds, bool inside) {
    for (std::uint64_t events = escaped | stops; events != 0; events &= events - 1) {
        const std::size_t b = Lowest(events);
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

inline std::uint64_t Parity(std::uint64_t bits, bool inside) {
    return PrefixXor(bits) ^ (inside ? ~std::uint64_t{0} : 0);
}

}  // namespace sif
