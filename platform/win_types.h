// Basic Windows-style types of our platform layer. They live in namespace sif
// so that a Windows build can include the real headers beside them.
//
// Names that <windows.h> defines as macros (TRUE, FALSE, IDOK, IDCANCEL, and
// in the other headers HFILE_ERROR, OF_*, FILE_*, MB_OK) are ours only where
// there is no <windows.h>. A Windows build takes the real header's macros and
// checks that they carry our values, so any file may include <windows.h> and
// our headers in either order.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace sif {

using BOOL = int;
using UINT = unsigned int;
using HFILE = int;
using INT64 = std::int64_t;

// Opaque window handle: each backend maps it to a window of its own, and
// nothing else looks behind it. The type is never defined, so backends can
// sit side by side in one program.
struct WindowHandle;
using HWND = WindowHandle*;

// Module handle: only our own module exists.
using HINSTANCE = const void*;

}  // namespace sif

#ifdef _WIN32
// Our text is single-byte: the A functions, never UNICODE's W renames.
static_assert(sizeof(TCHAR) == 1, "build without UNICODE");
static_assert(TRUE == 1 && FALSE == 0);
static_assert(IDOK == 1 && IDCANCEL == 2);
#else
namespace sif {

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// Dialog command ids, also the answers of message boxes.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

}  // namespace sif
#endif

// One Windows constant of ours: declared where there is no <windows.h>, and
// there checked against the header's macro, so that both read the same.
#ifdef _WIN32
#define SIF_WINDOWS_CONSTANT(type, name, value) static_assert(name == (value), #name);
#else
#define SIF_WINDOWS_CONSTANT(type, name, value) inline constexpr type name = (value);
#endif
