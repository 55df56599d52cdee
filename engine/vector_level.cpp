#include "engine/vector_level.h"

#include <atomic>

#include "engine/kernels/kernel_table.h"

namespace sif {

namespace {

bool ProcessorHas(VectorLevel level) {
    switch (level) {
        case VectorLevel::Scalar:
            return true;
#if defined(__x86_64__) || defined(__i386__)
        case VectorLevel::Sse2:
            return __builtin_cpu_supports("sse2");  // not every 32-bit processor has it
        // Above SSE2 the kernels also count bits and multiply without carries
        // (every processor with AVX2 can, but the check costs nothing).
        case VectorLevel::Avx2:
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2") &&
                   __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("popcnt");
        case VectorLevel::Avx512:
            return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
                   __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi2") &&
                   __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("popcnt");
#else
        default:
            return false;
#endif
    }
    return false;
}

const KernelTable& Widest() {
    for (VectorLevel level : {VectorLevel::Avx512, VectorLevel::Avx2, VectorLevel::Sse2}) {
        if (CanRunVectorLevel(level)) {
            return *KernelsFor(level);
        }
    }
    return *KernelsFor(VectorLevel::Scalar);
}

std::atomic<const KernelTable*>& Active() {
    static std::atomic<const KernelTable*> active{&Widest()};
    return active;
}

}  // namespace

const KernelTable& ActiveKernels() {
    return *Active().load(std::memory_order_relaxed);
}

bool CanRunVectorLevel(VectorLevel level) {
    return KernelsFor(level) != nullptr && ProcessorHas(level);
}

VectorLevel ActiveVectorLevel() {
    return ActiveKernels().level;
}

bool SetVectorLevel(VectorLevel level) {
    if (!CanRunVectorLevel(level)) {
        return false;
    }
    Active().store(KernelsFor(level), std::memory_order_relaxed);
    return true;
}

const char* VectorLevelName(VectorLevel level) {
    switch (level) {
        case VectorLevel::Scalar:
            return "scalar";
        case VectorLevel::Sse2:
            return "sse2";
        case VectorLevel::Avx2:
            return "avx2";
        case VectorLevel::Avx512:
            return "avx512";
    }
    return "scalar";
}

}  // namespace sif
