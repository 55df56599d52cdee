// GoogleTest's main for the Windows test programs. GoogleTest gives every
// thread that keeps a trace (SCOPED_TRACE) a watcher thread, which waits for
// the watched thread to end; 32-bit Wine now and then crashes its loader
// when a process ends while such a watcher still waits. So the tests run on
// a thread of their own, and main returns once that thread's watcher is gone.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <set>

#include <gtest/gtest.h>

namespace {

struct TestRun {
    int argc;
    char** argv;
    int status;
};

DWORD WINAPI RunTests(void* param) {
    auto* run = static_cast<TestRun*>(param);
    testing::InitGoogleTest(&run->argc, run->argv);
    run->status = RUN_ALL_TESTS();
    return 0;
}

// The ids of this process's threads.
std::set<DWORD> Threads() {
    std::set<DWORD> ids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return ids;
    }
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more != FALSE;
         more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) {
            ids.insert(entry.th32ThreadID);
        }
    }
    CloseHandle(snapshot);
    return ids;
}

// Whether a thread that was not there `before` still runs.
bool NewThreadRuns(const std::set<DWORD>& before) {
    for (const DWORD id : Threads()) {
        if (before.count(id) == 0) {
            return true;
        }
    }
    return false;
}

// As much stack as the tests would have on the main thread and more.
constexpr SIZE_T kTestStack = SIZE_T{8} << 20;
// The watchers end right behind the tests; threads of the system's own may
// stay, and are not waited for longer than this.
constexpr ULONGLONG kWatcherDeadlineMs = 5000;

}  // namespace

int main(int argc, char** argv) {
    const std::set<DWORD> before = Threads();
    TestRun run{argc, argv, 1};
    const HANDLE tests = CreateThread(nullptr, kTestStack, RunTests, &run,
                                      STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (tests == nullptr) {
        std::fprintf(stderr, "test main: no thread for the tests (error %lu)\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(tests, INFINITE);
    CloseHandle(tests);
    const ULONGLONG deadline = GetTickCount64() + kWatcherDeadlineMs;
    while (NewThreadRuns(before) && GetTickCount64() < deadline) {
        Sleep(1);
    }
    return run.status;
}
