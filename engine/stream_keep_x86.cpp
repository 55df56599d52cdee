// The multiline filter's vector versions for x86-64. Each takes the source 64
// bytes at a time: one pass of compares gives bit masks of the left and right
// delimiters, a few word operations turn them into the mask of the bytes to
// keep (engine/stream_masks.h), and the kept bytes are packed towards the
// front where they lie. The bytes of a block are loaded before any of them is
// overwritten, and the output never runs ahead of the input, so filtering in
// place is safe. What is left after the last whole block goes through the
// scalar version, which carries on from the same state.
#include "engine/stream_keep.h"

#ifdef SIF_STREAM_VECTOR_PATHS

#include <immintrin.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/stream_masks.h"

namespace sif {

namespace {

constexpr size_t kBlock = 64;

// The state of the filter while it runs over whole blocks, held apart from
// StreamState: the stores through `out` may alias anything, and would make
// the compiler reload every field from memory after each of them.
class BlockState {
  public:
    explicit BlockState(const StreamState& state)
        : equal_(state.left == state.right), keepInside_(state.keepInside), inside_(state.inside) {}

    // The bits to keep for a block with the delimiter masks `left` and
    // `right`; `prefix` is PrefixXor(left), used when the delimiters are equal.
    uint64_t Keep(uint64_t left, uint64_t right, uint64_t prefix) {
        const uint64_t inside =
            equal_ ? InsideEqual(left, prefix, &inside_) : InsideDifferent(left, right, &inside_);
        return KeptBytes(keepInside_, inside, left, right);
    }

    void Store(StreamState& state) const { state.inside = inside_; }

  private:
    bool equal_;
    bool keepInside_;
    bool inside_;
};

// --- SSE2 ----------------------------------------------------------------------

inline uint64_t Mask16(__m128i bytes, __m128i delimiter) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, delimiter)));
}

// SSE2 has no byte shuffle: the block is moved run by run of kept bytes,
// from a copy of it, so that a run can be moved 16 bytes at a time, writing
// up to 15 bytes past its end. Those may land on bytes of this block, all read
// already, but never on the next block's.
inline char* PackRunsSse2(char* out, const char* in, const __m128i (&bytes)[4], uint64_t keep) {
    alignas(16) char block[kBlock + 16];
    for (unsigned lane = 0; lane < 4; ++lane) {
        _mm_store_si128(reinterpret_cast<__m128i*>(block + 16 * lane), bytes[lane]);
    }
    _mm_store_si128(reinterpret_cast<__m128i*>(block + kBlock), _mm_setzero_si128());
    while (keep != 0) {
        const unsigned start = static_cast<unsigned>(__builtin_ctzll(keep));
        // A run that reaches the end of the block has no zero above it.
        const uint64_t from = ~keep >> start;
        const unsigned length =
            from != 0 ? static_cast<unsigned>(__builtin_ctzll(from)) : 64 - start;
        if (in + kBlock - out >= static_cast<std::ptrdiff_t>(length) + 15) {
            for (unsigned done = 0; done < length; done += 16) {
                _mm_storeu_si128(
                    reinterpret_cast<__m128i*>(out + done),
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + start + done)));
            }
        } else {
            std::memcpy(out, block + start, length);
        }
        out += length;
        const unsigned end = start + length;
        keep = end < 64 ? keep & (~uint64_t{0} << end) : 0;
    }
    return out;
}

}  // namespace

char* KeepBytesSse2(StreamState& state, char* out, const char* in, size_t count) {
    const __m128i left = _mm_set1_epi8(state.left);
    const __m128i right = _mm_set1_epi8(state.right);
    BlockState blocks(state);
    for (const char* const end = in + count / kBlock * kBlock; in != end; in += kBlock) {
        __m128i bytes[4];
        uint64_t leftBits = 0;
        uint64_t rightBits = 0;
        for (unsigned lane = 0; lane < 4; ++lane) {
            bytes[lane] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * lane));
            leftBits |= Mask16(bytes[lane], left) << (16 * lane);
            rightBits |= Mask16(bytes[lane], right) << (16 * lane);
        }
        const uint64_t keep = blocks.Keep(leftBits, rightBits, PrefixXor(leftBits));
        if (keep == ~uint64_t{0}) {
            for (unsigned lane = 0; lane < 4; ++lane) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * lane), bytes[lane]);
            }
            out += kBlock;
        } else if (keep != 0) {
            out = PackRunsSse2(out, in, bytes, keep);
        }
    }
    blocks.Store(state);
    return KeepBytesScalar(state, out, in, count % kBlock);
}

}  // namespace sif

#endif  // SIF_STREAM_VECTOR_PATHS
