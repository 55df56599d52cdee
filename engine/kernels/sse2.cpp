// The SSE2 set: four 16-byte lanes per block. Every x86-64 processor has it;
// 32-bit ones are asked first.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/kernels/kernel_table.h"
#include "engine/kernels/target_region.h"
#include "engine/stream_masks.h"

SIF_TARGET_REGION("sse2")
#include "engine/kernels/generic_chunk_masks.h"
#include "engine/kernels/generic_keep_bytes.h"

namespace sif {

namespace {

struct Sse2 {
    struct Block {
        __m128i lane[4];
    };
    using Needle = __m128i;

    static Block Load(const char* p) {
        Block b;
        for (int q = 0; q < 4; ++q) {
            b.lane[q] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * q));
        }
        return b;
    }

    static Needle Splat(char c) { return _mm_set1_epi8(c); }

    static std::uint64_t Equal(const Block& b, Needle c) {
        std::uint64_t bits = 0;
        for (int q = 0; q < 4; ++q) {
            const auto lane =
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(b.lane[q], c)));
            bits |= std::uint64_t{lane} << (16 * q);
        }
        return bits;
    }

    static std::uint64_t PrefixXor(std::uint64_t bits) { return sif::PrefixXor(bits); }

    // SSE2 has no byte shuffle: the block is moved run by run of kept bytes,
    // from a copy of it, so that a run can be moved 16 bytes at a time,
    // writing up to 15 bytes past its end. Those may land on bytes of this
    // block, all read already, but never on the next block's.
    static char* Pack(char* out, const char* in, const Block& b, std::uint64_t keep) {
        if (keep == ~std::uint64_t{0}) {
            for (int q = 0; q < 4; ++q) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * q), b.lane[q]);
            }
            return out + 64;
        }
        alignas(16) char block[64 + 16];
        for (int q = 0; q < 4; ++q) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 16 * q), b.lane[q]);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 64), _mm_setzero_si128());
        while (keep != 0) {
            const unsigned start = static_cast<unsigned>(__builtin_ctzll(keep));
            // A run that reaches the end of the block has no zero above it.
            const std::uint64_t from = ~keep >> start;
            const unsigned length =
                from != 0 ? static_cast<unsigned>(__builtin_ctzll(from)) : 64 - start;
            if (in + 64 - out >= static_cast<std::ptrdiff_t>(length) + 15) {
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
            keep = end < 64 ? keep & (~std::uint64_t{0} << end) : 0;
        }
        return out;
    }
};

}  // namespace

extern const KernelTable kSse2Kernels{VectorLevel::Sse2, BuildChunkMasksWith<Sse2>,
                                      KeepBytesWith<Sse2>, nullptr};

}  // namespace sif
SIF_TARGET_REGION_END
