#include "engine/pack_runs.h"

#include "engine/byte_masks.h"
#include "engine/piece_stops.h"

namespace sif {

namespace {

char* KeepRuns(char* out, const char* chunk, std::uint64_t kept) {
    while (kept != 0) {
        const std::size_t from = Lowest(kept);
        const std::uint64_t passed = kept + (std::uint64_t{1} << from);
        const std::size_t to = passed != 0 ? Lowest(passed) : 64;
        out = CopyShort(out, chunk + from, to - from);
        kept &= passed;
    }
    return out;
}

}  // namespace

char* PackRuns(char* out, const char* in, std::uint64_t keep, std::uint64_t cr) {
    if (cr == 0) {
        return KeepRuns(out, in, keep);
    }
    // Both chunks copied, as a copy run by run reads behind the first.
    alignas(kChunkBytes) char patched[2 * kChunkBytes];
    std::memcpy(patched, in, sizeof patched);
    for (; cr != 0; cr &= cr - 1) {
        const std::size_t at = Lowest(cr);
        patched[at] = '\r';
        patched[at + 1] = '\n';
    }
    return KeepRuns(out, patched, keep);
}

}  // namespace sif
