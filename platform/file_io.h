// File services: integer handles with open by name, reads, writes, seek and
// close. Reads and writes are buffered underneath, so callers may move one byte
// at a time without a system call per byte.
#pragma once

#include "platform/win_types.h"

#ifdef _WIN32
static_assert(HFILE_ERROR == -1);
static_assert(OF_READ == 0x0000 && OF_READWRITE == 0x0002 && OF_CREATE == 0x1000);
static_assert(FILE_BEGIN == 0 && FILE_CURRENT == 1 && FILE_END == 2);
namespace sif {
// OFSTRUCT::nErrCode of a file that is not there, and of one that OF_CREATE
// found already there.
inline constexpr unsigned short kErrorFileNotFound = ERROR_FILE_NOT_FOUND;
inline constexpr unsigned short kErrorFileExists = ERROR_FILE_EXISTS;
}  // namespace sif
#else
#include <cerrno>

namespace sif {

inline constexpr unsigned short kErrorFileNotFound = ENOENT;
inline constexpr unsigned short kErrorFileExists = EEXIST;

inline constexpr HFILE HFILE_ERROR = -1;

inline constexpr UINT OF_READ = 0x0000;
inline constexpr UINT OF_READWRITE = 0x0002;
inline constexpr UINT OF_CREATE = 0x1000;

inline constexpr int FILE_BEGIN = 0;
inline constexpr int FILE_CURRENT = 1;
inline constexpr int FILE_END = 2;

}  // namespace sif
#endif

namespace sif {

struct OFSTRUCT {
    unsigned char cBytes;
    unsigned char fFixedDisk;
    unsigned short nErrCode;  // errno, on Windows the system error code; 0 on success
};

// OF_READ: an existing file that is not a directory. The first read of a
// named pipe waits for its writer, as `cat` does. On Windows only disk files
// open: devices (NUL, CON, COM1) and pipes are refused. A byte-order mark at
// the start is never read: after EF BB BF the bytes follow as they are, after
// FF FE or FE FF the UTF-16 text is read as UTF-8, forward only (seeks and
// writes fail), and a lone surrogate or an odd last byte is a read error.
// Standard input, once adopted, is read alike.
// OF_READWRITE: an existing file, for reading and appending: every write goes
// to the end of the file as it is then, whoever else writes to it. When it starts
// with FF FE or FE FF, what is written is taken as UTF-8 and goes out in that
// UTF-16; a byte of no valid sequence becomes the character of its number
// (ISO 8859-1). Reads give its bytes as they are. Adopted standard output is
// written as it is.
// OF_CREATE | OF_READWRITE: a new, empty file, appended to likewise; never
// replaces an existing one.
HFILE OpenFile(const char* name, OFSTRUCT* of, UINT style);

// Bytes read (at most count), 0 at the end of the file, HFILE_ERROR on error.
UINT _lread(HFILE h, void* buffer, UINT count);

// count on success, HFILE_ERROR when the bytes could not be written.
UINT _lwrite(HFILE h, const void* buffer, UINT count);

// The new position from the start of the file, or -1 on error.
INT64 _llseek(HFILE h, INT64 offset, int origin);

// 0, or HFILE_ERROR when pending output could not be written.
HFILE _lclose(HFILE h);

// --- beyond the classic set ---

// Reads bytes up to and including `stop`, at most `max` of them. *atEnd is set
// when the end of the file was reached before `stop` or `max`. Returns the
// count stored, or HFILE_ERROR on a read error.
UINT ReadUntilByte(HFILE h, char* buffer, UINT max, char stop, BOOL* atEnd);

// Writes pending output; FALSE when it could not be written.
BOOL FlushFile(HFILE h);

// Writes pending output of every open file (done before any message box).
void FlushAllFiles();

// Drops pending output and cuts the file to `length` bytes.
BOOL TruncateFile(HFILE h, INT64 length);

// TRUE when both handles refer to the same file on disk. A terminal read and
// written is no such file: what goes out there never comes back in.
BOOL IsSameFile(HFILE a, HFILE b);

// How LockForAppend waits for a file that another run holds locked.
struct AppendLockWait {
    int giveUpAfterMs = -1;          // -1: for as long as it takes
    void (*onLongWait)() = nullptr;  // called once, after about a second
};

void SetAppendLockWait(const AppendLockWait& wait);

// Holds the lock that runs take on their target until `h` is closed, waiting
// while another run holds it. FALSE when the wait was given up. A file system
// without locks is appended to unlocked.
BOOL LockForAppend(HFILE h);

enum class StandardStream { Input, Output };

// From now on OpenFile(name, ...) opens a new handle on standard input or
// output, whatever the style, instead of a file of that name; it never
// creates one. Closing that handle leaves the stream open.
void AdoptStandardStream(const char* name, StandardStream stream);

// TRUE for a handle that OpenFile gave on an adopted standard stream.
BOOL IsStandardStream(HFILE h);

// While set, CutBackInterruptedAppend cuts `h` back to `length`: an append
// that a termination signal stops leaves the file as it was. One file at a
// time, until the file is closed.
void SetCutBackOnInterrupt(HFILE h, INT64 length);

// Safe inside a signal handler, and on Windows from the console handler's
// thread: there no write reaches any file afterwards.
void CutBackInterruptedAppend();

}  // namespace sif
