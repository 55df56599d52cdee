#include "platform/process.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "platform/file_io.h"
#include "platform/gathered_stderr_sink.h"

namespace sif {

namespace {

const char* g_terminationLine = "";

BOOL WINAPI EndOnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    CutBackInterruptedAppend();
    WriteGatheredStderrLinesOnTermination();
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), g_terminationLine,
              static_cast<DWORD>(std::strlen(g_terminationLine)), &written, nullptr);
    // At once, as _exit does on POSIX: the main thread is still running.
    TerminateProcess(GetCurrentProcess(), 1);
    return TRUE;
}

}  // namespace

void EnsureStandardStreams() {
    // Our files never take the standard streams' places here: handles are no
    // small numbers. A stream the process was started without stays without,
    // and writes to it fail. Binary mode: lines end in LF as on POSIX.
    for (FILE* stream : {stdin, stdout, stderr}) {
        if (_fileno(stream) >= 0) {
            _setmode(_fileno(stream), _O_BINARY);
        }
    }
}

void IgnoreFileSizeSignal() {
    // Windows has no file-size signal: a write beyond a limit simply fails.
}

void IgnoreBrokenPipeSignal() {
    // No signal either: a write into a closed pipe fails with ERROR_NO_DATA.
}

void EndOnTerminationSignals(const char* line) {
    g_terminationLine = line;
    SetConsoleCtrlHandler(EndOnConsoleEvent, TRUE);
}

}  // namespace sif
