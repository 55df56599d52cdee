// Raw files on Win32 handles. Only disk files open by name: devices (NUL, CON,
// COM1) and pipes are refused like a missing file. Standard input and output
// are taken as they are.
#include "platform/os_file.h"

#include <algorithm>

#include "platform/file_io.h"
#include "platform/os_fault.h"
#include "platform/win32/exclusive_lock.h"

namespace sif::os {

namespace {

// The append that a console event cuts back. The console handler runs on a
// thread of its own while the main thread goes on writing, so every write,
// cut and close takes this lock: the cut falls between two writes, and no
// write follows it.
SRWLOCK g_writeLock = SRWLOCK_INIT;
HANDLE g_cutBackHandle = INVALID_HANDLE_VALUE;
INT64 g_cutBackLength = 0;
bool g_cutBack = false;

class WriteLock : public ExclusiveLock {
  public:
    WriteLock() : ExclusiveLock(g_writeLock) {}
};

HANDLE Handle(File f) {
    return reinterpret_cast<HANDLE>(f);
}

bool SeekHandle(HANDLE handle, INT64 offset, DWORD method, INT64* position) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER now;
    if (!SetFilePointerEx(handle, distance, &now, method)) {
        return false;
    }
    *position = now.QuadPart;
    return true;
}

// Windows calls are never interrupted: only failures and short writes apply.
DWORD PlannedCount(Call call, DWORD count, bool* fail) {
    const Fault fault = PlannedFault(call);
    *fail = fault == Fault::Fail;
    return fault == Fault::Short && count > 1 ? count / 2 : count;
}

bool Cut(HANDLE handle, INT64 length) {
    bool fail;
    PlannedCount(Call::Cut, 0, &fail);
    if (fail) {
        return false;
    }
    INT64 position;
    return SeekHandle(handle, length, FILE_BEGIN, &position) && SetEndOfFile(handle);
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

}  // namespace

File Open(const char* name, UINT style, unsigned* error) {
    DWORD code = 0;
    const HANDLE handle = OpenHandle(name, style, &code);
    *error = code;
    return handle == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<File>(handle);
}

File OpenStandard(StandardStream stream, unsigned* error) {
    const HANDLE standard =
        GetStdHandle(stream == StandardStream::Input ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE);
    HANDLE copy = INVALID_HANDLE_VALUE;
    // A copy: closing it leaves the stream, and it shares the position.
    if (standard == nullptr || standard == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), standard, GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        *error = standard == nullptr ? ERROR_INVALID_HANDLE : GetLastError();
        return kNoFile;
    }
    *error = 0;
    return reinterpret_cast<File>(copy);
}

long Read(File f, char* out, UINT count) {
    DWORD got = 0;
    bool fail;
    count = PlannedCount(Call::Read, count, &fail);
    if (fail) {
        return -1;
    }
    if (!ReadFile(Handle(f), out, count, &got, nullptr)) {
        // A standard input pipe whose writer has closed it.
        return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    return static_cast<long>(got);
}

// Disk files are written at their end as it is at each write, like O_APPEND:
// another writer's bytes are never written over, lock or no lock.
bool WriteChunk(HANDLE handle, bool atEnd, const char* bytes, DWORD count, DWORD* written) {
    if (!atEnd) {
        return WriteFile(handle, bytes, count, written, nullptr) != 0;
    }
    OVERLAPPED end{};
    end.Offset = end.OffsetHigh = 0xFFFFFFFF;
    return WriteFile(handle, bytes, count, written, &end) != 0;
}

// One byte far beyond any file's end. Windows locks are mandatory: a lock on
// the file's own bytes would stop every reader and every other writer (a
// console's >> too), where only writers of ours are to wait.
constexpr DWORD kLockOffsetLow = 0xFFFFFFF0;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

OVERLAPPED LockByte() {
    OVERLAPPED at{};
    at.Offset = kLockOffsetLow;
    at.OffsetHigh = kLockOffsetHigh;
    return at;
}

bool WriteAll(File f, const char* bytes, std::size_t count) {
    WriteLock lock;
    if (g_cutBack) {
        return false;
    }
    const bool atEnd = GetFileType(Handle(f)) == FILE_TYPE_DISK;
    while (count > 0) {
        bool fail;
        const DWORD chunk = PlannedCount(
            Call::Write, static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30)), &fail);
        DWORD written = 0;
        if (fail || !WriteChunk(Handle(f), atEnd, bytes, chunk, &written) || written == 0) {
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

INT64 Seek(File f, INT64 offset, int origin) {
    const DWORD method = origin == FILE_END       ? FILE_END
                         : origin == FILE_CURRENT ? FILE_CURRENT
                                                  : FILE_BEGIN;
    INT64 position = -1;
    return SeekHandle(Handle(f), offset, method, &position) ? position : -1;
}

bool CutTo(File f, INT64 length) {
    WriteLock lock;
    return Cut(Handle(f), length);
}

LockState TryLockTarget(File f) {
    OVERLAPPED at = LockByte();
    if (LockFileEx(Handle(f), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        return LockState::Locked;
    }
    const DWORD error = GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? LockState::Busy
                                                                      : LockState::Unsupported;
}

bool Close(File f) {
    WriteLock lock;
    // Windows frees a closed handle's locks only some time later.
    OVERLAPPED at = LockByte();
    UnlockFileEx(Handle(f), 0, 1, 0, &at);
    if (g_cutBackHandle == Handle(f)) {
        // The handle value may be reused for another file.
        g_cutBackHandle = INVALID_HANDLE_VALUE;
    }
    return CloseHandle(Handle(f)) != 0;
}

bool Same(File a, File b) {
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    if (!GetFileInformationByHandle(Handle(a), &ia) ||
        !GetFileInformationByHandle(Handle(b), &ib)) {
        return false;
    }
    // Whatever name reached it (another letter case, ".\", "..", a short
    // name, a hard link), a file is its volume and its index there.
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

void SetCutBack(File f, INT64 length) {
    WriteLock lock;
    g_cutBackLength = length;
    g_cutBackHandle = f == kNoFile ? INVALID_HANDLE_VALUE : Handle(f);
}

}  // namespace sif::os

namespace sif {

void CutBackInterruptedAppend() {
    os::WriteLock lock;
    os::g_cutBack = true;
    if (os::g_cutBackHandle != INVALID_HANDLE_VALUE) {
        // Output still in the write buffer never reaches the file.
        os::Cut(os::g_cutBackHandle, os::g_cutBackLength);
    }
}

}  // namespace sif
