// PrefixXor (engine/stream_masks.h) in one carry-less multiply by all ones,
// for the sets that have it. Included inside a set's target region, with
// internal linkage, as the generic kernels are.
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace sif {
namespace {  // NOLINT(google-build-namespaces): one copy per instruction set

std::uint64_t PrefixXorClmul(std::uint64_t bits) {
    const __m128i product =
        _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(bits)), _mm_set1_epi8(-1), 0);
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(product));
}

}  // namespace
}  // namespace sif
