// The built sifteron-cli as a child process: started in a folder with its
// output streams redirected, waited for with a deadline, and always ended.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/types.h>
#endif

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace sif::test {

// The lines of a program's output, without their line ends.
inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

#ifdef _WIN32
using StreamHandle = HANDLE;
inline const StreamHandle kNoStream = nullptr;
#else
using StreamHandle = int;
inline constexpr StreamHandle kNoStream = -1;
#endif

struct CliLaunch {
    std::vector<std::string> args;
    std::string dir;         // the current directory of the program
    std::string stdoutFile;  // "" leaves the stream closed
    std::string stderrFile;  // "" leaves the stream closed
    // The program's stdin (closed when none) and, instead of stdoutFile, its
    // stdout: a copy goes to the program, the caller keeps and closes its own.
    StreamHandle stdinStream = kNoStream;
    StreamHandle stdoutStream = kNoStream;
#ifndef _WIN32
    long long fileSizeLimit = -1;  // RLIMIT_FSIZE in bytes; -1 for none
#endif
};

class CliProcess {
  public:
    explicit CliProcess(const CliLaunch& launch);
    ~CliProcess();  // kills and reaps a program still running
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    bool Running();
    // The exit status; -1 when a signal ended the program, or when it was
    // still running after `seconds` (it is killed then).
    int Wait(double seconds = 60);
#ifndef _WIN32
    pid_t pid() const {
        return pid_;
    }
    void Signal(int signal) const;
    bool KilledBySignal() const {
        return signaled_;
    }
#endif

  private:
#ifdef _WIN32
    HANDLE process_ = nullptr;
#else
    void Reaped(int waitStatus);

    pid_t pid_ = -1;
    bool done_ = false;
    bool signaled_ = false;
    int status_ = -1;
#endif
};

// Checks `condition` until it holds or `seconds` pass; false then.
bool WaitUntil(const std::function<bool()>& condition, double seconds = 30);

}  // namespace sif::test
