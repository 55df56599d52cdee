#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "platform/windows_command_line.h"
#include "tests/cli/cli_process.h"

namespace sif::test {

namespace {

// An inheritable handle on a new file, or none for "".
HANDLE OutputFile(const std::string& file) {
    if (file.empty()) {
        return nullptr;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot create " + file);
    }
    return h;
}

}  // namespace

CliProcess::CliProcess(const CliLaunch& launch) {
    std::vector<std::string> words{SIFTERON_CLI_PATH};
    words.insert(words.end(), launch.args.begin(), launch.args.end());
    std::string commandLine = WindowsCommandLine(words);
    HANDLE out = launch.stdoutStream == kNoStream ? OutputFile(launch.stdoutFile) : nullptr;
    HANDLE err = OutputFile(launch.stderrFile);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = launch.stdinStream;
    startup.hStdOutput = out != nullptr ? out : launch.stdoutStream;
    startup.hStdError = err;
    // The caller's handles are inherited by this program only.
    for (HANDLE h : {launch.stdinStream, launch.stdoutStream}) {
        if (h != kNoStream) {
            SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        }
    }
    PROCESS_INFORMATION info{};
    // Under heavy load Wine now and then fails to start a child at all; the
    // program never ran, so a second start is the same test.
    DWORD error = 0;
    BOOL started = FALSE;
    for (int attempt = 1; attempt <= 2 && !started; ++attempt) {
        started = CreateProcessA(SIFTERON_CLI_PATH, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                 nullptr, launch.dir.c_str(), &startup, &info);
        if (!started) {
            error = GetLastError();
            std::fprintf(stderr, "CreateProcess failed (error %lu)%s\n",
                         static_cast<unsigned long>(error),
                         attempt == 1 ? "; starting it once more" : "");
        }
    }
    for (HANDLE h : {launch.stdinStream, launch.stdoutStream}) {
        if (h != kNoStream) {
            SetHandleInformation(h, HANDLE_FLAG_INHERIT, 0);
        }
    }
    for (HANDLE h : {out, err}) {
        if (h != nullptr) {
            CloseHandle(h);
        }
    }
    if (!started) {
        throw std::runtime_error("cannot start " + commandLine + " (error " +
                                 std::to_string(error) + ")");
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
}

CliProcess::~CliProcess() {
    if (Running()) {
        TerminateProcess(process_, 255);
        WaitForSingleObject(process_, INFINITE);
    }
    CloseHandle(process_);
}

bool CliProcess::Running() {
    return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

int CliProcess::Wait(double seconds) {
    const auto millis = static_cast<DWORD>(std::ceil(seconds * 1000));
    if (WaitForSingleObject(process_, millis) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 255);
        WaitForSingleObject(process_, INFINITE);
        return -1;
    }
    DWORD status = 0;
    GetExitCodeProcess(process_, &status);
    return static_cast<int>(status);
}

}  // namespace sif::test
