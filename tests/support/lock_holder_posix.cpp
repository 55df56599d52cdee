#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/os_file.h"
#include "tests/support/lock_holder.h"

namespace sif::test {

LockHolder::LockHolder(const std::string& file) {
    int ready[2];
    int release[2];
    // Close-on-exec: a program that the test starts meanwhile must not keep
    // the release pipe open, or the holder would never let go.
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        return;
    }
    if (::pipe2(release, O_CLOEXEC) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls here.
        ::close(ready[0]);
        ::close(release[1]);
        const int fd = ::open(file.c_str(), O_RDWR);
        const char locked = fd >= 0 && os::TryLockTarget(fd) == os::LockState::Locked ? 1 : 0;
        if (::write(ready[1], &locked, 1) != 1) {
            ::_exit(1);  // the parent reads nothing and holds no lock
        }
        char ignored;
        while (::read(release[0], &ignored, 1) > 0) {
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    holder_ = child;
    char locked = 0;
    held_ = child > 0 && ::read(ready[0], &locked, 1) == 1 && locked == 1;
    ::close(ready[0]);
}

LockHolder::~LockHolder() {
    ::close(release_);
    if (holder_ > 0) {
        int status;
        ::waitpid(static_cast<pid_t>(holder_), &status, 0);
    }
}

}  // namespace sif::test
