#include "platform/gathered_stderr_sink.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <string>

#include "platform/os_file.h"

namespace sif {

namespace {

constexpr std::size_t kGatherSize = 64 * 1024;

// One process-wide store, which the signal handler reads: the bytes first,
// then the length that makes them count.
char g_lines[kGatherSize];
volatile std::sig_atomic_t g_length = 0;
bool g_failed = false;

// An interrupted or short write goes on; only a real error fails.
bool WriteAll(const char* bytes, std::size_t count) {
    return os::WriteAll(STDERR_FILENO, bytes, count);
}

// The termination signals wait while the store is written and emptied, so
// their handler never writes a line twice.
class TerminationSignalsHeld {
  public:
    TerminationSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
            sigaddset(&held, signal);
        }
        ::sigprocmask(SIG_BLOCK, &held, &before_);
    }
    ~TerminationSignalsHeld() { ::sigprocmask(SIG_SETMASK, &before_, nullptr); }
    TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
    TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

  private:
    sigset_t before_;
};

}  // namespace

GatheredStderrSink::~GatheredStderrSink() {
    Flush();
}

int GatheredStderrSink::Show(HWND, const char* text, const char* caption, UINT) {
    const std::string line = std::string(caption) + ": " + text + "\n";
    if (static_cast<std::size_t>(g_length) + line.size() > kGatherSize) {
        Flush();
    }
    if (line.size() > kGatherSize) {
        TerminationSignalsHeld held;
        g_failed = !WriteAll(line.data(), line.size()) || g_failed;
        return IDOK;
    }
    std::memcpy(g_lines + g_length, line.data(), line.size());
    std::atomic_signal_fence(std::memory_order_release);
    g_length = static_cast<std::sig_atomic_t>(g_length + static_cast<int>(line.size()));
    return IDOK;
}

bool GatheredStderrSink::Flush() {
    TerminationSignalsHeld held;
    if (g_length > 0) {
        g_failed = !WriteAll(g_lines, static_cast<std::size_t>(g_length)) || g_failed;
        g_length = 0;
    }
    // Each failure is told once, to the Flush after it.
    const bool written = !g_failed;
    g_failed = false;
    return written;
}

void WriteGatheredStderrLinesOnTermination() {
    WriteAll(g_lines, static_cast<std::size_t>(g_length));
}

}  // namespace sif
