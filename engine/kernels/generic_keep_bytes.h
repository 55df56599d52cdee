// The multiline filter's loop, written once for every instruction set. It
// takes the source 64 bytes at a time: the compares give bit masks of the
// left and right delimiters, a few word operations turn them into the mask of
// the bytes to keep (engine/stream_masks.h), and the set packs the kept bytes
// towards the front where they lie. The bytes of a block are loaded before
// any of them is overwritten, and the output never runs ahead of the input,
// so filtering in place is safe. What is left after the last whole block goes
// through the scalar version, which carries on from the same state.
//
// A set's file includes it inside its target region with `Simd` giving what
// generic_chunk_masks.h asks for and
//   uint64_t PrefixXor(uint64_t)
//   char* Pack(char* out, const char* in, const Block&, uint64_t keep)
//       writes the kept bytes of the block at `in`, returns the end
// Everything here has internal linkage, as there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/stream_keep.h"
#include "engine/stream_masks.h"

namespace sif {
namespace {  // NOLINT(google-build-namespaces): one copy per instruction set

constexpr std::size_t kKeepBlock = 64;

// The state of the filter while it runs over whole blocks, held apart from
// StreamState: the stores through `out` may alias anything, and would make
// the compiler reload every field from memory after each of them.
class BlockState {
  public:
    explicit BlockState(const StreamState& state)
        : equal_(state.left == state.right), keepInside_(state.keepInside), inside_(state.inside) {}

    // The bits to keep for a block with the delimiter masks `left` and
    // `right`; `prefix` is PrefixXor(left), used when the delimiters are equal.
    std::uint64_t Keep(std::uint64_t left, std::uint64_t right, std::uint64_t prefix) {
        const std::uint64_t inside =
            equal_ ? InsideEqual(left, prefix, &inside_) : InsideDifferent(left, right, &inside_);
        return KeptBytes(keepInside_, inside, left, right);
    }

    void Store(StreamState& state) const { state.inside = inside_; }

  private:
    bool equal_;
    bool keepInside_;
    bool inside_;
};

template <class Simd>
char* KeepBytesWith(StreamState& state, char* out, const char* in, std::size_t count) {
    const typename Simd::Needle left = Simd::Splat(state.left);
    const typename Simd::Needle right = Simd::Splat(state.right);
    BlockState blocks(state);
    for (const char* const end = in + count / kKeepBlock * kKeepBlock; in != end;
         in += kKeepBlock) {
        const typename Simd::Block bytes = Simd::Load(in);
        const std::uint64_t leftBits = Simd::Equal(bytes, left);
        const std::uint64_t rightBits = Simd::Equal(bytes, right);
        out =
            Simd::Pack(out, in, bytes, blocks.Keep(leftBits, rightBits, Simd::PrefixXor(leftBits)));
    }
    blocks.Store(state);
    return KeepBytesScalar(state, out, in, count % kKeepBlock);
}

}  // namespace
}  // namespace sif
