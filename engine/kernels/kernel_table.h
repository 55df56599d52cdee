// The vector kernels of one instruction set. The filters reach them only
// through the table in use, chosen once, so no filter asks for a level.
#pragma once

#include <cstddef>

#include "engine/byte_masks.h"
#include "engine/stream_keep.h"
#include "engine/vector_level.h"

namespace sif {

using BuildChunkMasksFunction = void (*)(const char* data, std::size_t count,
                                         const MaskBytes& bytes, ChunkMasks* masks);

struct KernelTable {
    VectorLevel level;
    // The line filters' masks; null for the scalar set, whose line filter is
    // the reference itself.
    BuildChunkMasksFunction buildChunkMasks;
    KeepBytesFunction keepBytes;  // the multiline filter's loop
};

// The table of `level`, or null when this build has none.
const KernelTable* KernelsFor(VectorLevel level);

// The table in use (vector_level.h chooses it).
const KernelTable& ActiveKernels();

}  // namespace sif
