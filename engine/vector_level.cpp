#include "engine/vector_level.h"

#include <atomic>

namespace sif {

namespace {

#ifdef SIF_VECTOR_PATHS
// Above SSE2 the filters also count bits and multiply without carries (every
// processor with AVX2 can, but the check costs nothing).
bool HasPopcntAndPclmul() {
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("popcnt");
}
#endif

bool ProcessorHas(VectorLevel level) {
    switch (level) {
        case VectorLevel::Scalar:
            return true;
#ifdef SIF_VECTOR_PATHS
        case VectorLevel::Sse2:
            return true;  // every x86-64 processor has it
        case VectorLevel::Avx2:
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2") &&
                   HasPopcntAndPclmul();
        case VectorLevel::Avx512:
            return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
                   __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi2") &&
                   HasPopcntAndPclmul();
#else
        default:
            return false;
#endif
    }
    return false;
}

VectorLevel Widest() {
    for (VectorLevel level : {VectorLevel::Avx512, VectorLevel::Avx2, VectorLevel::Sse2}) {
        if (ProcessorHas(level)) {
            return level;
        }
    }
    return VectorLevel::Scalar;
}

std::atomic<VectorLevel>& Active() {
    static std::atomic<VectorLevel> active{Widest()};
    return active;
}

}  // namespace

bool CanRunVectorLevel(VectorLevel level) {
    return ProcessorHas(level);
}

VectorLevel ActiveVectorLevel() {
    return Active().load(std::memory_order_relaxed);
}

bool SetVectorLevel(VectorLevel level) {
    if (!ProcessorHas(level)) {
        return false;
    }
    Active().store(level, std::memory_order_relaxed);
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
