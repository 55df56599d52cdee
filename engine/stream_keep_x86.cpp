// The multiline filter's vector versions for x86-64. Each takes the source 64
// bytes at a time: one pass of compares gives bit masks of the left and right
// delimiters, a few word operations turn them into the mask of the bytes to
// keep (engine/stream_masks.h), and the kept bytes are packed towards the
// front where they lie. The bytes of a block are loaded before any of them is
// overwritten, and the output never runs ahead of the input, so filtering in
// place is safe. What is left after the last whole block goes through the
// scalar version, which carries on from the same state.
#include "engine/stream_keep.h"

#ifdef SIF_VECTOR_PATHS

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

// --- AVX2 ----------------------------------------------------------------------

namespace {

// PrefixXor in one carry-less multiply by all ones.
__attribute__((target("pclmul"))) inline uint64_t PrefixXorClmul(uint64_t bits) {
    const __m128i product =
        _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(bits)), _mm_set1_epi8(-1), 0);
    return static_cast<uint64_t>(_mm_cvtsi128_si64(product));
}

// For every mask of 8 bits, the byte shuffle that moves the marked bytes of
// an 8-byte group to its front in their order.
constexpr std::array<uint64_t, 256> MakePackTable() {
    std::array<uint64_t, 256> table{};
    for (unsigned mask = 0; mask < 256; ++mask) {
        unsigned to = 0;
        for (unsigned from = 0; from < 8; ++from) {
            if ((mask >> from & 1) != 0) {
                table[mask] |= uint64_t{from} << (8 * to++);
            }
        }
    }
    return table;
}
alignas(64) constexpr std::array<uint64_t, 256> kPackTable = MakePackTable();

__attribute__((target("avx2"))) inline uint64_t Mask32(__m256i bytes, __m256i delimiter) {
    return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, delimiter)));
}

// Each 8-byte group packed with one shuffle from kPackTable and stored
// whole; the next group's store starts where its kept bytes end.
__attribute__((target("avx2,popcnt"))) inline char* PackGroupsShuffle(char* out, const char* in,
                                                                      uint64_t keep) {
    for (unsigned group = 0; group < 8; ++group, in += 8, keep >>= 8) {
        const unsigned mask = keep & 0xFF;
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in));
        const __m128i order = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&kPackTable[mask]));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(bytes, order));
        out += _mm_popcnt_u32(mask);
    }
    return out;
}

}  // namespace

__attribute__((target("avx2,popcnt,pclmul"))) char* KeepBytesAvx2(StreamState& state, char* out,
                                                                  const char* in, size_t count) {
    const __m256i left = _mm256_set1_epi8(state.left);
    const __m256i right = _mm256_set1_epi8(state.right);
    BlockState blocks(state);
    for (const char* const end = in + count / kBlock * kBlock; in != end; in += kBlock) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32));
        const uint64_t leftBits = Mask32(low, left) | Mask32(high, left) << 32;
        const uint64_t rightBits = Mask32(low, right) | Mask32(high, right) << 32;
        const uint64_t keep = blocks.Keep(leftBits, rightBits, PrefixXorClmul(leftBits));
        if (keep == ~uint64_t{0}) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), low);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), high);
            out += kBlock;
        } else if (keep != 0) {
            out = PackGroupsShuffle(out, in, keep);
        }
    }
    blocks.Store(state);
    return KeepBytesScalar(state, out, in, count % kBlock);
}

// --- AVX-512 -------------------------------------------------------------------

// The whole block packed in one register and stored whole.
__attribute__((target("avx512bw,avx512vl,avx512vbmi2,popcnt,pclmul"))) char* KeepBytesAvx512(
    StreamState& state, char* out, const char* in, size_t count) {
    const __m512i left = _mm512_set1_epi8(state.left);
    const __m512i right = _mm512_set1_epi8(state.right);
    BlockState blocks(state);
    for (const char* const end = in + count / kBlock * kBlock; in != end; in += kBlock) {
        const __m512i bytes = _mm512_loadu_si512(in);
        const uint64_t leftBits = _mm512_cmpeq_epi8_mask(bytes, left);
        const uint64_t rightBits = _mm512_cmpeq_epi8_mask(bytes, right);
        const uint64_t keep = blocks.Keep(leftBits, rightBits, PrefixXorClmul(leftBits));
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, bytes));
        out += _mm_popcnt_u64(keep);
    }
    blocks.Store(state);
    return KeepBytesScalar(state, out, in, count % kBlock);
}

}  // namespace sif

#endif  // SIF_VECTOR_PATHS
