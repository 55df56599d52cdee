// Framework types and message constants with their Windows values. Toolkit-free.
#pragma once

#include "platform/win_types.h"

namespace sif {

using COLORREF = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Pixel rectangle; right and bottom are exclusive.
struct RECT {
    int left;
    int top;
    int right;
    int bottom;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const RECT&) const = default;
};

}  // namespace sif

// The colour macros of <windows.h>, or ours of the same meaning.
#ifdef _WIN32
static_assert(RGB(0x12, 0x34, 0x56) == 0x563412);
static_assert(GetRValue(0x563412) == 0x12 && GetGValue(0x563412) == 0x34);
static_assert(GetBValue(0x563412) == 0x56);
#else
namespace sif {

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned GetRValue(COLORREF c) {
    return c & 0xFFu;
}
constexpr unsigned GetGValue(COLORREF c) {
    return (c >> 8) & 0xFFu;
}
constexpr unsigned GetBValue(COLORREF c) {
    return (c >> 16) & 0xFFu;
}

}  // namespace sif
#endif

namespace sif {

// Messages the routing tables know.
SIF_WINDOWS_CONSTANT(UINT, WM_DESTROY, 0x0002)
SIF_WINDOWS_CONSTANT(UINT, WM_COMMAND, 0x0111)

// Button notifications and messages.
SIF_WINDOWS_CONSTANT(UINT, BN_CLICKED, 0)
SIF_WINDOWS_CONSTANT(UINT, BM_GETCHECK, 0x00F0)
SIF_WINDOWS_CONSTANT(UINT, BM_SETCHECK, 0x00F1)
SIF_WINDOWS_CONSTANT(int, BST_UNCHECKED, 0)
SIF_WINDOWS_CONSTANT(int, BST_CHECKED, 1)

// Show states.
SIF_WINDOWS_CONSTANT(int, SW_HIDE, 0)
SIF_WINDOWS_CONSTANT(int, SW_SHOWNORMAL, 1)
SIF_WINDOWS_CONSTANT(int, SW_SHOWMINIMIZED, 2)
SIF_WINDOWS_CONSTANT(int, SW_SHOWMAXIMIZED, 3)
SIF_WINDOWS_CONSTANT(int, SW_SHOWNOACTIVATE, 4)
SIF_WINDOWS_CONSTANT(int, SW_SHOW, 5)
SIF_WINDOWS_CONSTANT(int, SW_MINIMIZE, 6)
SIF_WINDOWS_CONSTANT(int, SW_SHOWMINNOACTIVE, 7)
SIF_WINDOWS_CONSTANT(int, SW_SHOWNA, 8)
SIF_WINDOWS_CONSTANT(int, SW_RESTORE, 9)
SIF_WINDOWS_CONSTANT(int, SW_SHOWDEFAULT, 10)

}  // namespace sif
