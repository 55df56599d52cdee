// The AVX2 set: two 32-byte lanes per block, carry-less multiplies for the
// prefix parity, a byte shuffle per 8 bytes for packing.
#include <immintrin.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/kernels/kernel_table.h"
#include "engine/kernels/target_region.h"
#include "engine/stream_masks.h"

namespace sif {

namespace {

// For every mask of 8 bits, the byte shuffle that moves the marked bytes of
// an 8-byte group to its front in their order.
constexpr std::array<std::uint64_t, 256> MakePackTable() {
    std::array<std::uint64_t, 256> table{};
    for (unsigned mask = 0; mask < 256; ++mask) {
        unsigned to = 0;
        for (unsigned from = 0; from < 8; ++from) {
            if ((mask >> from & 1) != 0) {
                table[mask] |= std::uint64_t{from} << (8 * to++);
            }
        }
    }
    return table;
}
alignas(64) constexpr std::array<std::uint64_t, 256> kPackTable = MakePackTable();

}  // namespace

}  // namespace sif

SIF_TARGET_REGION("avx2,bmi2,popcnt,pclmul")
#include "engine/kernels/generic_chunk_masks.h"
#include "engine/kernels/generic_keep_bytes.h"
#include "engine/kernels/prefix_xor_clmul.h"

namespace sif {

namespace {

struct Avx2 {
    struct Block {
        __m256i low;
        __m256i high;
    };
    using Needle = __m256i;

    static Block Load(const char* p) {
        return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)),
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32))};
    }

    static Needle Splat(char c) { return _mm256_set1_epi8(c); }

    static std::uint64_t Equal(const Block& b, Needle c) {
        const auto low = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(b.low, c)));
        const auto high = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(b.high, c)));
        return std::uint64_t{low} | std::uint64_t{high} << 32;
    }

    static std::uint64_t PrefixXor(std::uint64_t bits) { return PrefixXorClmul(bits); }

    // Each 8-byte group packed with one shuffle from kPackTable and stored
    // whole; the next group's store starts where its kept bytes end.
    static char* Pack(char* out, const char* in, const Block& b, std::uint64_t keep) {
        if (keep == ~std::uint64_t{0}) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), b.low);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), b.high);
            return out + 64;
        }
        for (unsigned group = 0; keep != 0 && group < 8; ++group, in += 8, keep >>= 8) {
            const unsigned mask = keep & 0xFF;
            const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in));
            const __m128i order =
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&kPackTable[mask]));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(bytes, order));
            out += _mm_popcnt_u32(mask);
        }
        return out;
    }
};

}  // namespace

extern const KernelTable kAvx2Kernels{VectorLevel::Avx2, BuildChunkMasksWith<Avx2>,
                                      KeepBytesWith<Avx2>, nullptr};

}  // namespace sif
SIF_TARGET_REGION_END
