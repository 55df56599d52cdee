// Renders the dialogs on Windows' own windows to BMP files in the current
// folder, for a look by eye beside the Qt ones: main-de.bmp as the program
// opens, main-en.bmp after one language toggle, info-de.bmp and info-en.bmp.
// Not a test: tools/wine-screenshots.sh runs it and makes PNGs of them.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/framework/dialog.h"
#include "platform/framework/win_app.h"
#include "platform/win32/win32_window_backend.h"
#include "ui/control_ids.h"
#include "ui/filter_dlg.h"
#include "ui/info_dlg.h"

namespace {

// The client area as Wine has drawn it, as a 24-bit BMP. The frame and
// caption are left out: on an X server without a window manager, as here,
// Wine draws none.
bool Save(::HWND window, const char* file) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::RECT r{};
    GetClientRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as BMP files store it
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<unsigned char> pixels(stride * static_cast<DWORD>(height));

    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    if (lines != height)
        return false;

    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    std::FILE* out = std::fopen(file, "wb");
    if (out == nullptr)
        return false;
    bool written = std::fwrite(&header, sizeof header, 1, out) == 1 &&
                   std::fwrite(&info, sizeof info, 1, out) == 1 &&
                   std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main() {
    sif::win32::Win32WindowBackend backend;
    sif::ScopedWindowBackend installed{backend};
    backend.SetDialogColors(RGB(192, 192, 192), RGB(0, 0, 0));
    bool saved = true;
    const char* infoFile = "info-de.bmp";
    // The boxes are shot from the modal hook, then closed with OK.
    sif::CDialog::SetModalHook([&](sif::CDialog& box) {
        ::HWND window = sif::win32::ToWin32(box.GetSafeHwnd());
        ShowWindow(window, SW_SHOWNORMAL);
        saved = Save(window, infoFile) && saved;
        SendMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    });

    sif::CWinApp app;
    sif::CFilterDlg dialog(nullptr);
    app.m_pMainWnd = &dialog;
    ::HWND main = sif::win32::ToWin32(dialog.GetSafeHwnd());
    if (main == nullptr) {
        std::fputs("no main dialog from template 101\n", stderr);
        return 1;
    }
    ShowWindow(main, SW_SHOWNORMAL);
    saved = Save(main, "main-de.bmp") && saved;
    SendMessageW(GetDlgItem(main, sif::ui::IDC_INFO), BM_CLICK, 0, 0);

    SendMessageW(GetDlgItem(main, sif::ui::IDC_LANGUAGE), BM_CLICK, 0, 0);
    SetFocus(GetDlgItem(main, sif::ui::IDC_SOURCE));
    saved = Save(main, "main-en.bmp") && saved;
    infoFile = "info-en.bmp";
    SendMessageW(GetDlgItem(main, sif::ui::IDC_INFO), BM_CLICK, 0, 0);

    sif::CDialog::SetModalHook(nullptr);
    dialog.DestroyWindow();
    if (!saved)
        std::fputs("a dialog could not be saved\n", stderr);
    return saved ? 0 : 1;
}
