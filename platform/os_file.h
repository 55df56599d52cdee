// One open file as the operating system gives it: raw, unbuffered calls.
// platform/posix/ and platform/win32/ implement them; the buffered file
// services of file_io.h are built on them once, for every platform.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/file_io.h"
#include "platform/win_types.h"

namespace sif::os {

// A descriptor or a handle. -1 is neither a valid descriptor nor a valid
// Win32 file handle (it is INVALID_HANDLE_VALUE).
using File = std::intptr_t;
inline constexpr File kNoFile = -1;

// Opens as OpenFile's styles say. kNoFile when it cannot, with *error set to
// the system's code.
File Open(const char* name, UINT style, unsigned* error);

// A new handle on the process's standard input or output (which stays
// open). kNoFile when there is none or it is a directory, with *error set.
File OpenStandard(StandardStream stream, unsigned* error);

// Bytes read (at most count), 0 at the end, -1 on error. A pipe read before
// its writer came waits for it; a pipe whose writer has gone is at its end.
long Read(File f, char* out, UINT count);

// Writes every byte; false when that fails, and always once an interrupted
// append has been cut back.
bool WriteAll(File f, const char* bytes, std::size_t count);

// The new position from the start, or -1.
INT64 Seek(File f, INT64 offset, int origin);

// Cuts the file to `length` bytes and moves the position there.
bool CutTo(File f, INT64 length);

enum class LockState {
    Locked,       // held until the file is closed
    Busy,         // another process holds it
    Unsupported,  // the file system has no such locks
};

// Takes, without waiting, the lock that every run of ours holds on its target
// from open to close. It binds only writers that take it: it never stops a
// read or a write by anyone.
LockState TryLockTarget(File f);

// Closes the file; a cut-back set on it and its lock end.
bool Close(File f);

// Whether both are the same file on disk, whatever names reached them.
bool Same(File a, File b);

// The append that CutBackInterruptedAppend cuts back.
void SetCutBack(File f, INT64 length);

}  // namespace sif::os
