// The built sifteron-cli as a child process: started in a folder with its
// output streams redirected, waited for with a deadline, and always ended.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace sif::test {

struct CliLaunch {
    std::vector<std::string> args;
    std::string dir;               // the current directory of the program
    std::string stdoutFile;        // "" leaves the stream closed
    std::string stderrFile;        // "" leaves the stream closed
    long long fileSizeLimit = -1;  // RLIMIT_FSIZE in bytes; -1 for none
};

class CliProcess {
  public:
    explicit CliProcess(const CliLaunch& launch);
    ~CliProcess();  // kills and reaps a program still running
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool Running();
    void Signal(int signal) const;
    // The exit status; -1 when a signal ended the program, or when it was
    // still running after `seconds` (it is killed then).
    int Wait(double seconds = 60);
    bool KilledBySignal() const { return signaled_; }

  private:
    void Reaped(int waitStatus);

    pid_t pid_ = -1;
    bool done_ = false;
    bool signaled_ = false;
    int status_ = -1;
};

// Checks `condition` until it holds or `seconds` pass; false then.
bool WaitUntil(const std::function<bool()>& condition, double seconds = 30);

}  // namespace sif::test
