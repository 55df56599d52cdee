// The rules for delimiters that every filter applies, written once for the
// reference code and the vector paths alike.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sif {

// How far the search for a closing delimiter moves on from the right
// delimiter at text[at], or 0 when it closes the piece: after a backslash it
// is text, and in a resource script a doubled quote is one quote of the text.
// `at` lies behind the piece's left delimiter and before `end`.
inline int SkipRefusedClose(const char* text, std::size_t at, std::size_t end, char right,
                            bool resourceMode) {
    if (resourceMode && right == '"' && at + 1 < end && text[at + 1] == '"') {
        return 2;
    }
    return text[at - 1] == '\\' ? 1 : 0;
}

// SkipRefusedClose's backslash rule over the bit masks of a 64-byte chunk of
// the text kind (bit i for byte i): the right delimiters that may close a
// stretch. `backslashBefore` has bit i set when byte i - 1 is a backslash.
inline std::uint64_t ClosingRights(std::uint64_t right, std::uint64_t backslashBefore) {
    return right & ~backslashBefore;
}

// Keeps the text outside a stretch, from `p` up to `open` (the next left
// delimiter or the end), without a right delimiter standing alone in it.
// Equal delimiters leave none before `open`. `findRight(from, to)` is the
// first right delimiter in [from, to), or `to`; `keep(from, to)` keeps a run.
template <class Position, class FindRight, class Keep>
void KeepOutside(Position p, Position open, bool equalDelimiters, FindRight findRight, Keep keep) {
    if (!equalDelimiters) {
        for (Position stray; (stray = findRight(p, open)) < open; p = stray + 1) {
            keep(p, stray);
        }
    }
    keep(p, open);
}

}  // namespace sif
