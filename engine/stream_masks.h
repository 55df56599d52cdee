// Which bytes of a 64-byte block the multiline filter keeps, worked out from
// bit masks of the block's delimiters (bit i for byte i) with a few word
// operations per block rather than a test per byte.
#pragma once

#include <cstdint>

namespace sif {

// Bit i set when the bits 0 to i of `bits` hold an odd number of ones.
inline uint64_t PrefixXor(uint64_t bits) {
    bits ^= bits << 1;
    bits ^= bits << 2;
    bits ^= bits << 4;
    bits ^= bits << 8;
    bits ^= bits << 16;
    bits ^= bits << 32;
    return bits;
}

// Bytes strictly inside a stretch when both delimiters are the same byte:
// each delimiter turns the state over, so "inside after byte i" is the
// parity of the delimiters up to i (`prefix`, PrefixXor of `delimiters`),
// turned over once more when the block starts inside. `*inside` goes from
// the state before the block to the state after it.
inline uint64_t InsideEqual(uint64_t delimiters, uint64_t prefix, bool* inside) {
    prefix ^= *inside ? ~uint64_t{0} : 0;
    *inside = (prefix >> 63) != 0;
    return prefix & ~delimiters;
}

// Bytes strictly inside a stretch when the delimiters differ. Every right
// delimiter ends the stretch it is in (or is a stray one outside), so between
// two right delimiters the stretch opens at the first left one and runs to
// the next right one. Adding `left` to the ones of `~right` starts a carry at
// that first left delimiter that runs up to the right one; the bits a carry
// passed into are the inside and the right delimiter that stopped it. A block
// that starts inside starts with a carry, and one that ends inside carries
// out.
inline uint64_t InsideDifferent(uint64_t left, uint64_t right, bool* inside) {
    const uint64_t runs = ~right;
    uint64_t sum;
    bool carry = __builtin_add_overflow(runs, left, &sum);
    carry |= __builtin_add_overflow(sum, uint64_t{*inside}, &sum);
    *inside = carry;
    return (sum ^ runs ^ left) & ~right;
}

// The bytes a mode keeps: the inside, or the outside without the delimiters
// (a right delimiter closing a stretch is outside by then, a left one inside
// a stretch is text of the stretch).
inline uint64_t KeptBytes(bool keepInside, uint64_t inside, uint64_t left, uint64_t right) {
    return keepInside ? inside : ~(inside | left | right);
}

}  // namespace sif
