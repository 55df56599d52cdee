// Raw files on POSIX descriptors.
#include "platform/os_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/file_io.h"
#include "platform/os_fault.h"

namespace sif::os {

namespace {

// The append that a termination signal cuts back. Lock-free atomics, so the
// signal handler may read them.
std::atomic<int> g_cutBackFd{-1};
std::atomic<long long> g_cutBackLength{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<long long>::is_always_lock_free);

int Fd(File f) {
    return static_cast<int>(f);
}

// Sets errno for a planned fault that ends the call at once; false when the
// call is to run.
bool FaultEndsCall(Fault fault) {
    if (fault == Fault::Fail || fault == Fault::Interrupt) {
        errno = fault == Fault::Fail ? EIO : EINTR;
        return true;
    }
    return false;
}

ssize_t ReadOnce(int fd, char* out, std::size_t count) {
    const Fault fault = PlannedFault(Call::Read);
    if (FaultEndsCall(fault)) {
        return -1;
    }
    return ::read(fd, out, fault == Fault::Short && count > 1 ? count / 2 : count);
}

ssize_t WriteOnce(int fd, const char* bytes, std::size_t count) {
    const Fault fault = PlannedFault(Call::Write);
    if (FaultEndsCall(fault)) {
        return -1;
    }
    return ::write(fd, bytes, fault == Fault::Short && count > 1 ? count / 2 : count);
}

int TruncateOnce(int fd, INT64 length) {
    if (FaultEndsCall(PlannedFault(Call::Cut))) {
        return -1;
    }
    return ::ftruncate(fd, static_cast<off_t>(length));
}

// Descriptors 0-2 are left to the standard streams, even when the process was
// started with them closed: a file must never be written through them.
int MoveAboveStandardStreams(int fd) {
    if (fd > 2) {
        return fd;
    }
    int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return moved;
}

int OpenDescriptor(const char* name, UINT style) {
    if (name == nullptr || name[0] == '\0') {
        errno = ENOENT;
        return -1;
    }
    int fd;
    if (style & OF_CREATE) {
        fd = ::open(name, O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } else {
        // Every write goes to the end as it is then: another writer's
        // bytes are never written over, lock or no lock.
        const int access = (style & OF_READWRITE) ? O_RDWR | O_APPEND : O_RDONLY;
        // Non-blocking only for the open itself, so a FIFO without a writer
        // cannot hang it: the wait for the writer belongs to the first read.
        fd = ::open(name, access | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0) {
            struct stat st {};
            if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
                ::close(fd);
                errno = EISDIR;
                return -1;
            }
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        }
    }
    return fd < 0 ? fd : MoveAboveStandardStreams(fd);
}

}  // namespace

File Open(const char* name, UINT style, unsigned* error) {
    const int fd = OpenDescriptor(name, style);
    *error = fd < 0 ? static_cast<unsigned>(errno) : 0;
    return fd < 0 ? kNoFile : fd;
}

File OpenStandard(StandardStream stream, unsigned* error) {
    // A copy above the standard descriptors: closing it leaves the stream,
    // and reads and writes share its position, as for `cat`.
    const int fd = ::fcntl(stream == StandardStream::Input ? 0 : 1, F_DUPFD_CLOEXEC, 3);
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
        ::close(fd);
        *error = EISDIR;
        return kNoFile;
    }
    *error = fd < 0 ? static_cast<unsigned>(errno) : 0;
    return fd < 0 ? kNoFile : fd;
}

long Read(File f, char* out, UINT count) {
    // A pipe read before any writer came would read as empty; like `cat`,
    // wait until the writer has written something or has come and gone. For
    // files, and for pipes once their writer came, poll returns at once.
    pollfd p{Fd(f), POLLIN, 0};
    while (::poll(&p, 1, -1) < 0 && errno == EINTR) {
    }
    ssize_t got;
    do {
        got = ReadOnce(Fd(f), out, count);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

bool WriteAll(File f, const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = WriteOnce(Fd(f), bytes, count);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            // Nothing written for a non-empty write would only repeat.
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

INT64 Seek(File f, INT64 offset, int origin) {
    const int whence = origin == FILE_END ? SEEK_END : origin == FILE_CURRENT ? SEEK_CUR : SEEK_SET;
    return ::lseek(Fd(f), static_cast<off_t>(offset), whence);
}

bool CutTo(File f, INT64 length) {
    int result;
    do {
        result = TruncateOnce(Fd(f), length);
    } while (result != 0 && errno == EINTR);
    const bool cut = result == 0;
    const bool placed = ::lseek(Fd(f), static_cast<off_t>(length), SEEK_SET) >= 0;
    return cut && placed;
}

LockState TryLockTarget(File f) {
    // A record lock of the process, not flock(): processes that share one
    // open file (xargs -P children writing to the same standard output)
    // must still exclude each other. It ends when the process closes any
    // descriptor of the file, which no run does while it appends.
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    int result;
    do {
        result = ::fcntl(Fd(f), F_SETLK, &whole);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        return LockState::Locked;
    }
    return errno == EACCES || errno == EAGAIN ? LockState::Busy : LockState::Unsupported;
}

bool Close(File f) {
    if (g_cutBackFd == Fd(f)) {
        // The descriptor may be reused for another file.
        g_cutBackFd = -1;
    }
    return ::close(Fd(f)) == 0;
}

bool Same(File a, File b) {
    struct stat sa {
    }, sb{};
    return ::fstat(Fd(a), &sa) == 0 && ::fstat(Fd(b), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino && !S_ISCHR(sa.st_mode);
}

void SetCutBack(File f, INT64 length) {
    g_cutBackFd = -1;
    g_cutBackLength = length;
    g_cutBackFd = Fd(f);
}

}  // namespace sif::os

namespace sif {

void CutBackInterruptedAppend() {
    const int fd = os::g_cutBackFd;
    if (fd >= 0) {
        // Output still in the write buffer never reaches the file. In a
        // signal handler nothing more can be done should this fail.
        [[maybe_unused]] const int cut =
            ::ftruncate(fd, static_cast<off_t>(os::g_cutBackLength.load()));
    }
}

}  // namespace sif
