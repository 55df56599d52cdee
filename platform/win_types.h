// Basic Windows-style types of our platform layer. They live in namespace sif
// so that a Windows build can include the real headers beside them.
#pragma once

#include <cstdint>

namespace sif {

using BOOL = int;
using UINT = unsigned int;
using HFILE = int;
using INT64 = std::int64_t;

// Opaque window handle: the backend owns what it points to.
struct WindowObject;
using HWND = WindowObject*;

// Module handle: only our own module exists.
using HINSTANCE = const void*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// Dialog command ids, also the answers of message boxes.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

}  // namespace sif
