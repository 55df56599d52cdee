// Window, dialog and control style bits with their Windows values, as the
// compiled dialog templates carry them. Toolkit-free, so both the resource
// compiler and the window layer can read them.
#pragma once

#include "platform/win_types.h"  // IDOK, IDCANCEL

namespace sif {

// Window styles.
inline constexpr unsigned WS_OVERLAPPED = 0x00000000u;
inline constexpr unsigned WS_POPUP = 0x80000000u;
inline constexpr unsigned WS_CHILD = 0x40000000u;
inline constexpr unsigned WS_MINIMIZE = 0x20000000u;
inline constexpr unsigned WS_VISIBLE = 0x10000000u;
inline constexpr unsigned WS_DISABLED = 0x08000000u;
inline constexpr unsigned WS_CLIPSIBLINGS = 0x04000000u;
inline constexpr unsigned WS_CLIPCHILDREN = 0x02000000u;
inline constexpr unsigned WS_MAXIMIZE = 0x01000000u;
inline constexpr unsigned WS_CAPTION = 0x00C00000u;  // WS_BORDER | WS_DLGFRAME
inline constexpr unsigned WS_BORDER = 0x00800000u;
inline constexpr unsigned WS_DLGFRAME = 0x00400000u;
inline constexpr unsigned WS_VSCROLL = 0x00200000u;
inline constexpr unsigned WS_HSCROLL = 0x00100000u;
inline constexpr unsigned WS_SYSMENU = 0x00080000u;
inline constexpr unsigned WS_THICKFRAME = 0x00040000u;
inline constexpr unsigned WS_GROUP = 0x00020000u;
inline constexpr unsigned WS_TABSTOP = 0x00010000u;
inline constexpr unsigned WS_MINIMIZEBOX = 0x00020000u;
inline constexpr unsigned WS_MAXIMIZEBOX = 0x00010000u;

// Dialog styles.
inline constexpr unsigned DS_ABSALIGN = 0x0001u;
inline constexpr unsigned DS_SYSMODAL = 0x0002u;
inline constexpr unsigned DS_3DLOOK = 0x0004u;
inline constexpr unsigned DS_LOCALEDIT = 0x0020u;
inline constexpr unsigned DS_SETFONT = 0x0040u;  // added by the compiler when FONT is given
inline constexpr unsigned DS_MODALFRAME = 0x0080u;
inline constexpr unsigned DS_NOIDLEMSG = 0x0100u;
inline constexpr unsigned DS_SETFOREGROUND = 0x0200u;
inline constexpr unsigned DS_CENTER = 0x0800u;

// Button styles: the low four bits are the button type.
inline constexpr unsigned BS_PUSHBUTTON = 0x0u;
inline constexpr unsigned BS_DEFPUSHBUTTON = 0x1u;
inline constexpr unsigned BS_CHECKBOX = 0x2u;
inline constexpr unsigned BS_AUTOCHECKBOX = 0x3u;
inline constexpr unsigned BS_RADIOBUTTON = 0x4u;
inline constexpr unsigned BS_3STATE = 0x5u;
inline constexpr unsigned BS_AUTO3STATE = 0x6u;
inline constexpr unsigned BS_GROUPBOX = 0x7u;
inline constexpr unsigned BS_AUTORADIOBUTTON = 0x9u;
inline constexpr unsigned BS_OWNERDRAW = 0xBu;
inline constexpr unsigned BS_TYPEMASK = 0xFu;
inline constexpr unsigned BS_LEFTTEXT = 0x20u;

// Edit styles.
inline constexpr unsigned ES_LEFT = 0x0000u;
inline constexpr unsigned ES_CENTER = 0x0001u;
inline constexpr unsigned ES_RIGHT = 0x0002u;
inline constexpr unsigned ES_MULTILINE = 0x0004u;
inline constexpr unsigned ES_UPPERCASE = 0x0008u;
inline constexpr unsigned ES_LOWERCASE = 0x0010u;
inline constexpr unsigned ES_PASSWORD = 0x0020u;
inline constexpr unsigned ES_AUTOVSCROLL = 0x0040u;
inline constexpr unsigned ES_AUTOHSCROLL = 0x0080u;
inline constexpr unsigned ES_NOHIDESEL = 0x0100u;
inline constexpr unsigned ES_READONLY = 0x0800u;

// Static styles: the low five bits are the static type.
inline constexpr unsigned SS_LEFT = 0x00u;
inline constexpr unsigned SS_CENTER = 0x01u;
inline constexpr unsigned SS_RIGHT = 0x02u;
inline constexpr unsigned SS_ICON = 0x03u;
inline constexpr unsigned SS_TYPEMASK = 0x1Fu;
inline constexpr unsigned SS_NOPREFIX = 0x80u;

// Version record values.
inline constexpr unsigned VS_FFI_FILEFLAGSMASK = 0x3Fu;
inline constexpr unsigned VOS__WINDOWS32 = 0x4u;
inline constexpr unsigned VOS_NT_WINDOWS32 = 0x40004u;
inline constexpr unsigned VFT_UNKNOWN = 0x0u;
inline constexpr unsigned VFT_APP = 0x1u;
inline constexpr unsigned VFT_DLL = 0x2u;
inline constexpr unsigned VFT2_UNKNOWN = 0x0u;

}  // namespace sif
