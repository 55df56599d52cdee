// Which vector instructions the filters use. The scalar code is the reference
// and the only path on targets other than x86-64 outside Windows; there the
// widest level the processor offers is chosen when first asked.
#pragma once

// The vector paths exist in builds for x86-64 outside Windows only.
#if defined(__x86_64__) && !defined(_WIN32)
#define SIF_VECTOR_PATHS 1
#endif

namespace sif {

// Narrowest first.
enum class VectorLevel { Scalar, Sse2, Avx2, Avx512 };

// Whether this build and this processor can run `level`.
bool CanRunVectorLevel(VectorLevel level);

// The level the filters use now.
VectorLevel ActiveVectorLevel();

// Makes the filters use `level` from now on (tests and benchmarks compare the
// paths). Returns false, changing nothing, when the level cannot run here.
bool SetVectorLevel(VectorLevel level);

// "scalar", "sse2", "avx2", "avx512".
const char* VectorLevelName(VectorLevel level);

}  // namespace sif
