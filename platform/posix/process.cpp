#include "platform/process.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <initializer_list>

#include "platform/file_io.h"
#include "platform/gathered_stderr_sink.h"

namespace sif {

namespace {

const char* g_terminationLine = "";

extern "C" void EndOnSignal(int) {
    CutBackInterruptedAppend();
    WriteGatheredStderrLinesOnTermination();
    const ssize_t ignored = ::write(2, g_terminationLine, std::strlen(g_terminationLine));
    (void)ignored;
    ::_exit(1);
}

}  // namespace

void EnsureStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1) {
            const int opened = ::open("/dev/null", O_RDWR);
            if (opened >= 0 && opened != fd) {
                ::dup2(opened, fd);
                ::close(opened);
            }
        }
    }
}

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

void IgnoreBrokenPipeSignal() {
    std::signal(SIGPIPE, SIG_IGN);
}

void EndOnTerminationSignals(const char* line) {
    g_terminationLine = line;
    struct sigaction action {};
    action.sa_handler = EndOnSignal;
    sigfillset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace sif
