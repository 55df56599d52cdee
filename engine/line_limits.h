// The engine's line buffer and what one line may hold in it.
#pragma once

namespace sif {

inline constexpr int kLineBufferSize = 510;
// Bytes stored for one line; a longer line is read as pieces of this size.
inline constexpr int kLinePieceMax = 498;
// The most of a line that a per-line filter looks at (the stored bytes and
// the NUL after them), and the most that its result holds.
inline constexpr int kLineTextMax = kLinePieceMax + 1;
static_assert(kLineTextMax < kLineBufferSize, "a filtered line and its NUL fit the buffer");

}  // namespace sif
