#include "tests/qt/child_process.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

namespace sif::test {

ChildProcess::ChildProcess() {
    const pid_t runner = getpid();
    setChildProcessModifier([runner] {
        // Runs in the child between fork and exec: async-signal-safe calls only.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != runner)
            _exit(127);  // the runner died before the line above
    });
}

ChildProcess::~ChildProcess() {
    End();
}

void ChildProcess::End() {
    if (state() == QProcess::NotRunning)
        return;
    const qint64 pid = processId();
    if (pid > 0) {
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    } else {
        kill();
    }
    // SIGKILL cannot be caught; only a process stuck in the kernel outlives this.
    if (!waitForFinished(10000))
        qWarning("process %lld (%s) did not end after SIGKILL", pid, qPrintable(program()));
}

}  // namespace sif::test
