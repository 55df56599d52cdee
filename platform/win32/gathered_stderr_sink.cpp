#include "platform/gathered_stderr_sink.h"

#include <cstring>
#include <string>

#include "platform/os_file.h"
#include "platform/win32/exclusive_lock.h"

namespace sif {

namespace {

constexpr std::size_t kGatherSize = 64 * 1024;

// The console handler runs on a thread of its own while the main thread goes
// on: the store is read and changed under this lock only.
SRWLOCK g_lock = SRWLOCK_INIT;
char g_lines[kGatherSize];
std::size_t g_length = 0;
bool g_failed = false;

class StoreLock : public ExclusiveLock {
  public:
    StoreLock() : ExclusiveLock(g_lock) {}
};

// Through the file services, so that a run's writes and their faults are one.
bool WriteAll(const char* bytes, std::size_t count) {
    return os::WriteAll(reinterpret_cast<os::File>(GetStdHandle(STD_ERROR_HANDLE)), bytes, count);
}

// Caller holds the lock.
void WriteStore() {
    if (g_length > 0) {
        g_failed = !WriteAll(g_lines, g_length) || g_failed;
        g_length = 0;
    }
}

}  // namespace

GatheredStderrSink::~GatheredStderrSink() {
    Flush();
}

int GatheredStderrSink::Show(HWND, const char* text, const char* caption, UINT) {
    const std::string line = std::string(caption) + ": " + text + "\n";
    StoreLock lock;
    if (g_length + line.size() > kGatherSize) {
        WriteStore();
    }
    if (line.size() > kGatherSize) {
        g_failed = !WriteAll(line.data(), line.size()) || g_failed;
        return IDOK;
    }
    std::memcpy(g_lines + g_length, line.data(), line.size());
    g_length += line.size();
    return IDOK;
}

bool GatheredStderrSink::Flush() {
    StoreLock lock;
    WriteStore();
    // Each failure is told once, to the Flush after it.
    const bool written = !g_failed;
    g_failed = false;
    return written;
}

void WriteGatheredStderrLinesOnTermination() {
    // The file services write nothing once the append is cut back; these
    // lines still go out, straight to the handle, and only once.
    StoreLock lock;
    DWORD written = 0;
    for (std::size_t done = 0; done < g_length; done += written) {
        if (!WriteFile(GetStdHandle(STD_ERROR_HANDLE), g_lines + done,
                       static_cast<DWORD>(g_length - done), &written, nullptr) ||
            written == 0) {
            break;
        }
    }
    g_length = 0;
}

}  // namespace sif
