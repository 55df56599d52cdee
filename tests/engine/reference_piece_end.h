// Where the line piece at `pos` of a block ends, found the plain way: behind
// its LF, or kLinePieceMax bytes on. The block's end (npos) when the rest is
// no whole piece.
#pragma once

#include <string>

#include "engine/line_limits.h"

namespace sif::test {

inline std::size_t ReferencePieceEnd(const std::string& block, std::size_t pos) {
    const std::size_t lf = block.find('\n', pos);
    if (lf < pos + kLinePieceMax && lf < block.size()) {
        return lf + 1;
    }
    return pos + kLinePieceMax <= block.size() ? pos + kLinePieceMax : std::string::npos;
}

}  // namespace sif::test
