// The viewer on Windows: Notepad from the system folder, started through
// CreateProcessA with the file as one quoted argument, never through a shell.
#include "platform/framework/text_viewer.h"

#include <windows.h>

#include "platform/windows_command_line.h"

namespace sif {

bool StartTextViewer(const std::string& fileName) {
    if (fileName.empty())
        return false;
    // The full path: a bare name would be looked up in the current folder
    // first, which the file dialog moves to wherever the user browsed.
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    std::string program = std::string(folder, length) + "\\NOTEPAD.EXE";
    std::string line = WindowsCommandLine({"NOTEPAD.EXE", WindowsViewerFileArgument(fileName)});

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    // Not waited for: the handles only go.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace sif
