// The window program on Win32: the framework hosted on Windows' own windows,
// starting the registered application object. A GUI-subsystem program.
#include <windows.h>

#include "platform/framework/win_app.h"
#include "platform/process.h"
#include "platform/win32/win32_window_backend.h"

int main() {
    sif::EnsureStandardStreams();
    // The show state that whoever started us asked for.
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const int show =
        (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    sif::win32::Win32WindowBackend backend;
    sif::ScopedWindowBackend installed(backend);
    return sif::AfxWinMain(show);
}
