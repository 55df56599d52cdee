#include "engine/kernels/kernel_table.h"

namespace sif {

// Each set's table, in the set's own file where the build has the set.
extern const KernelTable kSse2Kernels;
extern const KernelTable kAvx2Kernels;
extern const KernelTable kAvx512Kernels;

namespace {

// The scalar set: the references themselves.
const KernelTable kScalarKernels{VectorLevel::Scalar, nullptr, KeepBytesScalar, nullptr};

}  // namespace

const KernelTable* KernelsFor(VectorLevel level) {
    switch (level) {
        case VectorLevel::Scalar:
            return &kScalarKernels;
#ifdef SIF_KERNELS_SSE2
        case VectorLevel::Sse2:
            return &kSse2Kernels;
#endif
#ifdef SIF_KERNELS_AVX
        case VectorLevel::Avx2:
            return &kAvx2Kernels;
        case VectorLevel::Avx512:
            return &kAvx512Kernels;
#endif
        default:
            return nullptr;
    }
}

}  // namespace sif
