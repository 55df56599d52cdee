// The AVX-512 set: a block in one register, compares straight into masks,
// the kept bytes packed with one compress.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "engine/kernels/kernel_table.h"
#include "engine/kernels/target_region.h"
#include "engine/stream_masks.h"

SIF_TARGET_REGION("avx512bw,avx512vl,avx512vbmi2,bmi2,popcnt,pclmul")
#include "engine/kernels/generic_chunk_masks.h"
#include "engine/kernels/generic_keep_bytes.h"
#include "engine/kernels/prefix_xor_clmul.h"

namespace sif {

namespace {

struct Avx512 {
    using Block = __m512i;
    using Needle = __m512i;

    static Block Load(const char* p) { return _mm512_loadu_si512(p); }

    static Needle Splat(char c) { return _mm512_set1_epi8(c); }

    static std::uint64_t Equal(const Block& b, Needle c) { return _mm512_cmpeq_epi8_mask(b, c); }

    static std::uint64_t PrefixXor(std::uint64_t bits) { return PrefixXorClmul(bits); }

    // The whole block stored: the bytes behind the kept ones lie within it.
    static char* Pack(char* out, const char*, const Block& b, std::uint64_t keep) {
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, b));
        return out + _mm_popcnt_u64(keep);
    }
};

char* PackChunkAvx512(char* out, const char* in, std::uint64_t keep, std::uint64_t cr) {
    __m512i bytes = Avx512::Load(in);
    bytes = _mm512_mask_mov_epi8(bytes, cr, _mm512_set1_epi8('\r'));
    bytes = _mm512_mask_mov_epi8(bytes, cr << 1, _mm512_set1_epi8('\n'));
    return Avx512::Pack(out, in, bytes, keep);
}

}  // namespace

extern const KernelTable kAvx512Kernels{VectorLevel::Avx512, BuildChunkMasksWith<Avx512>,
                                        KeepBytesWith<Avx512>, PackChunkAvx512};

}  // namespace sif
SIF_TARGET_REGION_END
