// File services on POSIX descriptors, with one read and one write buffer per
// open file so that byte-sized calls stay cheap.
#include "platform/file_io.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace sif {

namespace {

constexpr UINT kBufferSize = 64 * 1024;
constexpr UINT kError = static_cast<UINT>(HFILE_ERROR);

struct OpenFileState {
    int fd = -1;
    std::unique_ptr<char[]> readBuffer;
    UINT readPos = 0;
    UINT readLen = 0;
    std::unique_ptr<char[]> writeBuffer;
    UINT writeLen = 0;
    bool writeFailed = false;  // sticky until the file is cut back
    bool awaitWriter = false;  // a pipe read before any writer has come
};

// Open files by handle; a freed slot is reused.
std::vector<std::unique_ptr<OpenFileState>> g_table;

// The append that a termination signal cuts back. Lock-free atomics, so the
// signal handler may read them.
std::atomic<int> g_cutBackFd{-1};
std::atomic<long long> g_cutBackLength{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<long long>::is_always_lock_free);

std::vector<std::unique_ptr<OpenFileState>>& Table() {
    return g_table;
}

OpenFileState* Lookup(HFILE h) {
    auto& table = Table();
    if (h < 0 || static_cast<std::size_t>(h) >= table.size()) {
        return nullptr;
    }
    return table[static_cast<std::size_t>(h)].get();
}

HFILE Register(int fd) {
    auto& table = Table();
    auto state = std::make_unique<OpenFileState>();
    state->fd = fd;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i]) {
            table[i] = std::move(state);
            return static_cast<HFILE>(i);
        }
    }
    table.push_back(std::move(state));
    return static_cast<HFILE>(table.size() - 1);
}

bool WriteAll(int fd, const char* bytes, std::size_t count) {
    while (count > 0) {
        ssize_t written = ::write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool Flush(OpenFileState& f) {
    if (f.writeFailed) {
        return false;
    }
    if (f.writeLen > 0) {
        const bool ok = WriteAll(f.fd, f.writeBuffer.get(), f.writeLen);
        f.writeLen = 0;
        if (!ok) {
            f.writeFailed = true;
            return false;
        }
    }
    return true;
}

// Gives back read-ahead bytes so the descriptor's position is the logical one.
bool DropReadAhead(OpenFileState& f) {
    const UINT unread = f.readLen - f.readPos;
    f.readPos = f.readLen = 0;
    if (unread > 0) {
        return ::lseek(f.fd, -static_cast<off_t>(unread), SEEK_CUR) >= 0;
    }
    return true;
}

// Refills the read buffer: bytes available, 0 at the end, -1 on error.
ssize_t Refill(OpenFileState& f) {
    if (!f.readBuffer) {
        f.readBuffer = std::make_unique<char[]>(kBufferSize);
    }
    ssize_t got;
    do {
        got = ::read(f.fd, f.readBuffer.get(), kBufferSize);
    } while (got < 0 && errno == EINTR);
    f.readPos = 0;
    f.readLen = got > 0 ? static_cast<UINT>(got) : 0;
    return got;
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

// *isPipe tells that a named pipe was opened for reading.
int OpenDescriptor(const char* name, UINT style, bool* isPipe) {
    *isPipe = false;
    if (name == nullptr || name[0] == '\0') {
        errno = ENOENT;
        return -1;
    }
    int fd;
    if (style & OF_CREATE) {
        fd = ::open(name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } else {
        const int access = (style & OF_READWRITE) ? O_RDWR : O_RDONLY;
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
            *isPipe = S_ISFIFO(st.st_mode) && access == O_RDONLY;
        }
    }
    return fd < 0 ? fd : MoveAboveStandardStreams(fd);
}

// A pipe read before its writer has come would read as empty; like `cat`,
// wait until the writer has written something or has come and gone.
void AwaitWriter(OpenFileState& f) {
    if (!f.awaitWriter) {
        return;
    }
    f.awaitWriter = false;
    pollfd p{f.fd, POLLIN, 0};
    while (::poll(&p, 1, -1) < 0 && errno == EINTR) {
    }
}

// Reads at most `max` bytes into `out`, ending after `stop` when it is a byte
// value (0-255). *atEnd tells that the end of the file cut the read short.
UINT ReadBuffered(OpenFileState& f, char* out, UINT max, int stop, BOOL* atEnd) {
    *atEnd = FALSE;
    AwaitWriter(f);
    UINT done = 0;
    while (done < max) {
        if (f.readPos == f.readLen) {
            ssize_t got;
            if (stop < 0 && max - done >= kBufferSize) {
                // Big plain reads bypass the buffer: one copy fewer.
                do {
                    got = ::read(f.fd, out + done, max - done);
                } while (got < 0 && errno == EINTR);
                if (got > 0) {
                    done += static_cast<UINT>(got);
                    continue;
                }
            } else {
                got = Refill(f);
            }
            if (got < 0) {
                return kError;
            }
            if (got == 0) {
                *atEnd = TRUE;
                break;
            }
        }
        const char* from = f.readBuffer.get() + f.readPos;
        const UINT avail = std::min(max - done, f.readLen - f.readPos);
        const void* hit = stop >= 0 ? std::memchr(from, stop, avail) : nullptr;
        const UINT take = hit ? static_cast<UINT>(static_cast<const char*>(hit) - from) + 1 : avail;
        std::memcpy(out + done, from, take);
        f.readPos += take;
        done += take;
        if (hit) {
            break;
        }
    }
    return done;
}

}  // namespace

HFILE OpenFile(const char* name, OFSTRUCT* of, UINT style) {
    bool isPipe = false;
    const int fd = OpenDescriptor(name, style, &isPipe);
    if (of != nullptr) {
        of->cBytes = sizeof(OFSTRUCT);
        of->nErrCode = fd < 0 ? static_cast<unsigned short>(errno) : 0;
    }
    if (fd < 0) {
        return HFILE_ERROR;
    }
    const HFILE h = Register(fd);
    Lookup(h)->awaitWriter = isPipe;
    return h;
}

UINT _lread(HFILE h, void* buffer, UINT count) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr || count == kError || !Flush(*f)) {
        return kError;
    }
    BOOL atEnd;
    return ReadBuffered(*f, static_cast<char*>(buffer), count, -1, &atEnd);
}

UINT ReadUntilByte(HFILE h, char* buffer, UINT max, char stop, BOOL* atEnd) {
    *atEnd = FALSE;
    OpenFileState* f = Lookup(h);
    if (f == nullptr || !Flush(*f)) {
        return kError;
    }
    return ReadBuffered(*f, buffer, max, static_cast<unsigned char>(stop), atEnd);
}

UINT _lwrite(HFILE h, const void* buffer, UINT count) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr || count == kError || f->writeFailed || !DropReadAhead(*f)) {
        return kError;
    }
    const char* bytes = static_cast<const char*>(buffer);
    if (f->writeLen + count > kBufferSize) {
        if (!Flush(*f)) {
            return kError;
        }
        if (count >= kBufferSize) {
            if (!WriteAll(f->fd, bytes, count)) {
                f->writeFailed = true;
                return kError;
            }
            return count;
        }
    }
    if (!f->writeBuffer) {
        f->writeBuffer = std::make_unique<char[]>(kBufferSize);
    }
    std::memcpy(f->writeBuffer.get() + f->writeLen, bytes, count);
    f->writeLen += count;
    return count;
}

INT64 _llseek(HFILE h, INT64 offset, int origin) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr || !Flush(*f) || !DropReadAhead(*f)) {
        return -1;
    }
    const int whence = origin == FILE_END ? SEEK_END : origin == FILE_CURRENT ? SEEK_CUR : SEEK_SET;
    return ::lseek(f->fd, static_cast<off_t>(offset), whence);
}

HFILE _lclose(HFILE h) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr) {
        return HFILE_ERROR;
    }
    const bool flushed = Flush(*f);
    if (g_cutBackFd == f->fd) {
        // The descriptor may be reused for another file.
        g_cutBackFd = -1;
    }
    const bool closed = ::close(f->fd) == 0;
    Table()[static_cast<std::size_t>(h)].reset();
    return flushed && closed ? 0 : HFILE_ERROR;
}

BOOL FlushFile(HFILE h) {
    OpenFileState* f = Lookup(h);
    return f != nullptr && Flush(*f) ? TRUE : FALSE;
}

void FlushAllFiles() {
    for (auto& f : Table()) {
        if (f) {
            Flush(*f);
        }
    }
}

BOOL TruncateFile(HFILE h, INT64 length) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr) {
        return FALSE;
    }
    f->writeLen = 0;
    f->readPos = f->readLen = 0;
    f->writeFailed = false;
    const bool cut = ::ftruncate(f->fd, static_cast<off_t>(length)) == 0;
    const bool placed = ::lseek(f->fd, static_cast<off_t>(length), SEEK_SET) >= 0;
    return cut && placed ? TRUE : FALSE;
}

BOOL IsSameFile(HFILE a, HFILE b) {
    OpenFileState* fa = Lookup(a);
    OpenFileState* fb = Lookup(b);
    struct stat sa {
    }, sb{};
    if (fa == nullptr || fb == nullptr || ::fstat(fa->fd, &sa) != 0 || ::fstat(fb->fd, &sb) != 0) {
        return FALSE;
    }
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino ? TRUE : FALSE;
}

void SetCutBackOnInterrupt(HFILE h, INT64 length) {
    OpenFileState* f = Lookup(h);
    g_cutBackFd = -1;
    g_cutBackLength = length;
    g_cutBackFd = f != nullptr ? f->fd : -1;
}

void CutBackInterruptedAppend() {
    const int fd = g_cutBackFd;
    if (fd >= 0) {
        // Output still in the write buffer never reaches the file.
        (void)::ftruncate(fd, static_cast<off_t>(g_cutBackLength.load()));
    }
}

}  // namespace sif
