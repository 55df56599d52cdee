#include "tests/cli/cli_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace sif::test {

namespace {

void Redirect(const std::string& file, int fd) {
    if (file.empty()) {
        ::close(fd);
        return;
    }
    const int opened = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (opened < 0 || ::dup2(opened, fd) < 0) {
        ::_exit(127);
    }
    ::close(opened);
}

}  // namespace

CliProcess::CliProcess(const CliLaunch& launch) {
    std::vector<char*> argv{const_cast<char*>(SIFTERON_CLI_PATH)};
    for (const std::string& a : launch.args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ != 0) {
        return;
    }
    // The child: only async-signal-safe calls from here on.
    if (::chdir(launch.dir.c_str()) != 0) {
        ::_exit(127);
    }
    if (launch.stdinStream == kNoStream) {
        ::close(0);
    } else if (::dup2(launch.stdinStream, 0) < 0) {
        ::_exit(127);
    }
    if (launch.stdoutStream == kNoStream) {
        Redirect(launch.stdoutFile, 1);
    } else if (::dup2(launch.stdoutStream, 1) < 0) {
        ::_exit(127);
    }
    Redirect(launch.stderrFile, 2);
    if (launch.fileSizeLimit >= 0) {
        const rlimit limit{static_cast<rlim_t>(launch.fileSizeLimit),
                           static_cast<rlim_t>(launch.fileSizeLimit)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    // The program gets the default dispositions whatever the test runner set.
    for (int s : {SIGXFSZ, SIGTERM, SIGINT, SIGHUP, SIGPIPE}) {
        ::signal(s, SIG_DFL);
    }
    ::execv(SIFTERON_CLI_PATH, argv.data());
    ::_exit(127);
}

CliProcess::~CliProcess() {
    if (pid_ > 0 && !done_) {
        ::kill(pid_, SIGKILL);
        int ignored;
        ::waitpid(pid_, &ignored, 0);
    }
}

void CliProcess::Reaped(int waitStatus) {
    done_ = true;
    signaled_ = WIFSIGNALED(waitStatus);
    status_ = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

bool CliProcess::Running() {
    if (done_ || pid_ <= 0) {
        return false;
    }
    int waitStatus = 0;
    if (::waitpid(pid_, &waitStatus, WNOHANG) == pid_) {
        Reaped(waitStatus);
    }
    return !done_;
}

void CliProcess::Signal(int signal) const {
    if (pid_ > 0 && !done_) {
        ::kill(pid_, signal);
    }
}

int CliProcess::Wait(double seconds) {
    if (!WaitUntil([this] { return !Running(); }, seconds)) {
        ::kill(pid_, SIGKILL);
        int waitStatus = 0;
        ::waitpid(pid_, &waitStatus, 0);
        Reaped(waitStatus);
        return -1;
    }
    return status_;
}

}  // namespace sif::test
