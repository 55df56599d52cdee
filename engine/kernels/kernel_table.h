// The vector kernels of one instruction set. The filters reach them only
// through the table in use, chosen once, so no filter asks for a level.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/byte_masks.h"
#include "engine/stream_keep.h"
#include "engine/vector_level.h"

namespace sif {

using BuildChunkMasksFunction = void (*)(const char* data, std::size_t count,
                                         const MaskBytes& bytes, ChunkMasks* masks);

// Writes the bytes of in[0, 64) whose bits are set in `keep` to `out` in
// their order and returns their end; may write up to 64 bytes behind it.
// Each byte at a bit of `cr` is written as CR and the byte behind it as LF.
using PackChunkFunction = char* (*)(char* out, const char* in, std::uint64_t keep,
                                    std::uint64_t cr);

struct KernelTable {
    VectorLevel level;
    // The line filters' masks; null for the scalar set, whose line filter is
    // the reference itself.
    BuildChunkMasksFunction buildChunkMasks;
    KeepBytesFunction keepBytes;  // the multiline filter's loop
    // For the line walk, where a set packs bytes faster than copying them
    // run by run; else null.
    PackChunkFunction packChunk = nullptr;
};

// The table of `level`, or null when this build has none.
const KernelTable* KernelsFor(VectorLevel level);

// The table in use (vector_level.h chooses it).
const KernelTable& ActiveKernels();

}  // namespace sif
