// Helper of child_process_test: starts `sleep` as a ChildProcess, prints its
// process id and dies at once, as a runner stopped by a fatal error would:
// no destructor runs.
#include <QCoreApplication>
#include <csignal>
#include <cstdio>

#include "tests/qt/child_process.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    sif::test::ChildProcess child;
    child.start("sleep", {"600"});
    if (!child.waitForStarted(10000))
        return 2;
    std::printf("%lld\n", child.processId());
    std::fflush(stdout);
    std::raise(SIGKILL);
}
