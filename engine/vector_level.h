// Which instruction set the filters use. The scalar code is the reference and
// the only set on processors other than x86; there the widest set the build
// has and the processor offers is chosen when first asked.
#pragma once

namespace sif {

// Narrowest first.
enum class VectorLevel { Scalar, Sse2, Avx2, Avx512 };

// Whether this build and this processor can run `level`.
bool CanRunVectorLevel(VectorLevel level);

// The level the filters use now.
VectorLevel ActiveVectorLevel();

// Makes the filters use `level` from now on (tests and benchmarks compare the
// sets). Returns false, changing nothing, when the level cannot run here.
bool SetVectorLevel(VectorLevel level);

// "scalar", "sse2", "avx2", "avx512".
const char* VectorLevelName(VectorLevel level);

}  // namespace sif
