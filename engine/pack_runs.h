// Packing the kept bytes of a 64-byte chunk run by run, for the line walk
// on sets without a faster pack (engine/kernels/kernel_table.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace sif {

// Copies n bytes, at most 64, in 32-byte steps: up to 63 bytes more are read
// behind `from` and up to 31 written behind `to + n`.
inline char* CopyShort(char* to, const char* from, std::size_t n) {
    std::memcpy(to, from, 32);
    if (n > 32) {
        std::memcpy(to + 32, from + 32, 32);
    }
    return to + n;
}

// PackChunkFunction run by run: reads up to 127 bytes from `in`.
char* PackRuns(char* out, const char* in, std::uint64_t keep, std::uint64_t cr);

}  // namespace sif
