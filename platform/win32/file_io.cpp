// File services on Win32 file handles, with one read and one write buffer per
// open file so that byte-sized calls stay cheap. Behaves as the POSIX build
// does, except that only disk files open: devices (NUL, CON, COM1) and pipes
// are refused like a missing file.
#include "platform/file_io.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace sif {

namespace {

constexpr UINT kBufferSize = 64 * 1024;
constexpr UINT kError = static_cast<UINT>(HFILE_ERROR);

struct OpenFileState {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::unique_ptr<char[]> readBuffer;
    UINT readPos = 0;
    UINT readLen = 0;
    std::unique_ptr<char[]> writeBuffer;
    UINT writeLen = 0;
    bool writeFailed = false;  // sticky until the file is cut back
};

// Open files by handle; a freed slot is reused.
std::vector<std::unique_ptr<OpenFileState>> g_table;

// The append that a console event cuts back. The console handler runs on a
// thread of its own while the main thread goes on writing, so every write,
// cut and close of a file takes this lock: the cut falls between two writes,
// and no write follows it.
SRWLOCK g_writeLock = SRWLOCK_INIT;
HANDLE g_cutBackHandle = INVALID_HANDLE_VALUE;
INT64 g_cutBackLength = 0;
bool g_cutBack = false;

class WriteLock {
  public:
    WriteLock() { AcquireSRWLockExclusive(&g_writeLock); }
    ~WriteLock() { ReleaseSRWLockExclusive(&g_writeLock); }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
};

OpenFileState* Lookup(HFILE h) {
    if (h < 0 || static_cast<std::size_t>(h) >= g_table.size()) {
        return nullptr;
    }
    return g_table[static_cast<std::size_t>(h)].get();
}

HFILE Register(HANDLE handle) {
    auto state = std::make_unique<OpenFileState>();
    state->handle = handle;
    for (std::size_t i = 0; i < g_table.size(); ++i) {
        if (!g_table[i]) {
            g_table[i] = std::move(state);
            return static_cast<HFILE>(i);
        }
    }
    g_table.push_back(std::move(state));
    return static_cast<HFILE>(g_table.size() - 1);
}

bool Seek(HANDLE handle, INT64 offset, DWORD method, INT64* position = nullptr) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER now;
    if (!SetFilePointerEx(handle, distance, &now, method)) {
        return false;
    }
    if (position != nullptr) {
        *position = now.QuadPart;
    }
    return true;
}

bool CutTo(HANDLE handle, INT64 length) {
    return Seek(handle, length, FILE_BEGIN) && SetEndOfFile(handle);
}

bool WriteAll(HANDLE handle, const char* bytes, std::size_t count) {
    WriteLock lock;
    if (g_cutBack) {
        return false;
    }
    while (count > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

bool Flush(OpenFileState& f) {
    if (f.writeFailed) {
        return false;
    }
    if (f.writeLen > 0) {
        const bool ok = WriteAll(f.handle, f.writeBuffer.get(), f.writeLen);
        f.writeLen = 0;
        if (!ok) {
            f.writeFailed = true;
            return false;
        }
    }
    return true;
}

// Gives back read-ahead bytes so the handle's position is the logical one.
bool DropReadAhead(OpenFileState& f) {
    const UINT unread = f.readLen - f.readPos;
    f.readPos = f.readLen = 0;
    return unread == 0 || Seek(f.handle, -static_cast<INT64>(unread), FILE_CURRENT);
}

// Reads at most `count` bytes: the count read, 0 at the end, -1 on error.
long ReadSome(HANDLE handle, char* out, UINT count) {
    DWORD got = 0;
    if (!ReadFile(handle, out, count, &got, nullptr)) {
        return -1;
    }
    return static_cast<long>(got);
}

// Refills the read buffer: bytes available, 0 at the end, -1 on error.
long Refill(OpenFileState& f) {
    if (!f.readBuffer) {
        f.readBuffer = std::make_unique<char[]>(kBufferSize);
    }
    const long got = ReadSome(f.handle, f.readBuffer.get(), kBufferSize);
    f.readPos = 0;
    f.readLen = got > 0 ? static_cast<UINT>(got) : 0;
    return got;
}

// *error gets the system's code when no disk file could be opened.
HANDLE OpenHandle(const char* name, UINT style, DWORD* error) {
    if (name == nullptr || name[0] == '\0') {
        *error = ERROR_FILE_NOT_FOUND;
        return INVALID_HANDLE_VALUE;
    }
    const bool create = (style & OF_CREATE) != 0;
    const DWORD access =
        create || (style & OF_READWRITE) ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    // Others may read and write meanwhile, as on POSIX; the source and the
    // target opened under two names must both open, or the same-file check
    // could not tell the user what is wrong.
    HANDLE handle =
        CreateFileA(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    create ? CREATE_NEW : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return handle;
    }
    // Directories do not open without FILE_FLAG_BACKUP_SEMANTICS. Devices and
    // pipes would read as empty, swallow output or wait for ever.
    *error = GetFileType(handle) != FILE_TYPE_DISK ? ERROR_BAD_FILE_TYPE : 0;
    // Windows never opens a read-only file for writing, but Wine run as root
    // does: the user's mark must hold wherever the program runs.
    BY_HANDLE_FILE_INFORMATION info;
    if (*error == 0 && (access & GENERIC_WRITE) &&
        (!GetFileInformationByHandle(handle, &info) ||
         (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY))) {
        *error = ERROR_ACCESS_DENIED;
    }
    if (*error != 0) {
        CloseHandle(handle);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

// Reads at most `max` bytes into `out`, ending after `stop` when it is a byte
// value (0-255). *atEnd tells that the end of the file cut the read short.
UINT ReadBuffered(OpenFileState& f, char* out, UINT max, int stop, BOOL* atEnd) {
    *atEnd = FALSE;
    UINT done = 0;
    while (done < max) {
        if (f.readPos == f.readLen) {
            long got;
            if (stop < 0 && max - done >= kBufferSize) {
                // Big plain reads bypass the buffer: one copy fewer.
                got = ReadSome(f.handle, out + done, max - done);
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
    DWORD error = 0;
    const HANDLE handle = OpenHandle(name, style, &error);
    if (of != nullptr) {
        of->cBytes = sizeof(OFSTRUCT);
        of->nErrCode = static_cast<unsigned short>(error);
    }
    return handle == INVALID_HANDLE_VALUE ? HFILE_ERROR : Register(handle);
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
            if (!WriteAll(f->handle, bytes, count)) {
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
    const DWORD method = origin == FILE_END       ? FILE_END
                         : origin == FILE_CURRENT ? FILE_CURRENT
                                                  : FILE_BEGIN;
    INT64 position = -1;
    return Seek(f->handle, offset, method, &position) ? position : -1;
}

HFILE _lclose(HFILE h) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr) {
        return HFILE_ERROR;
    }
    const bool flushed = Flush(*f);
    bool closed;
    {
        WriteLock lock;
        if (g_cutBackHandle == f->handle) {
            // The handle value may be reused for another file.
            g_cutBackHandle = INVALID_HANDLE_VALUE;
        }
        closed = CloseHandle(f->handle) != 0;
    }
    g_table[static_cast<std::size_t>(h)].reset();
    return flushed && closed ? 0 : HFILE_ERROR;
}

BOOL FlushFile(HFILE h) {
    OpenFileState* f = Lookup(h);
    return f != nullptr && Flush(*f) ? TRUE : FALSE;
}

void FlushAllFiles() {
    for (auto& f : g_table) {
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
    WriteLock lock;
    return CutTo(f->handle, length) ? TRUE : FALSE;
}

BOOL IsSameFile(HFILE a, HFILE b) {
    OpenFileState* fa = Lookup(a);
    OpenFileState* fb = Lookup(b);
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    if (fa == nullptr || fb == nullptr || !GetFileInformationByHandle(fa->handle, &ia) ||
        !GetFileInformationByHandle(fb->handle, &ib)) {
        return FALSE;
    }
    // Whatever name reached it (another letter case, ".\", "..", a short
    // name, a hard link), a file is its volume and its index there.
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
                   ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow
               ? TRUE
               : FALSE;
}

void SetCutBackOnInterrupt(HFILE h, INT64 length) {
    OpenFileState* f = Lookup(h);
    WriteLock lock;
    g_cutBackLength = length;
    g_cutBackHandle = f != nullptr ? f->handle : INVALID_HANDLE_VALUE;
}

void CutBackInterruptedAppend() {
    WriteLock lock;
    g_cutBack = true;
    if (g_cutBackHandle != INVALID_HANDLE_VALUE) {
        // Output still in the write buffer never reaches the file.
        CutTo(g_cutBackHandle, g_cutBackLength);
    }
}

}  // namespace sif
