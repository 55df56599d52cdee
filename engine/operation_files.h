// The source and target of one file operation: opening them as every
// operation does, appending, and undoing the operation's output on failure.
#pragma once

#include "platform/file_io.h"

namespace sif {

struct OperationFiles {
    HFILE source = HFILE_ERROR;
    HFILE target = HFILE_ERROR;
    INT64 targetStart = 0;   // the target's length before this operation
    bool canCutBack = true;  // false for a pipe or a terminal on standard output
};

enum class TargetNotice { Show, Silent };

// Opens the source for reading (error 3046 when it cannot be) and the target
// for appending, creating it when it cannot be opened (notice 3047 first when
// asked). A target that is the source under another name gives error 3040.
// A standard stream that cannot seek (a pipe, a terminal) is appended to as
// it comes, and what reached it stays there.
// Returns FALSE with nothing left open when the operation cannot go on.
BOOL OpenOperationFiles(const char* source, const char* target, TargetNotice notice,
                        OperationFiles* files);

// Drops pending output and cuts the target to `length` bytes, trying twice.
// A target that cannot be cut but already ends there (a device such as
// /dev/full) needs no cut. FALSE when it still holds more.
BOOL CutTargetTo(const OperationFiles& files, INT64 length);

// Appends to the target; FALSE when the bytes could not be written.
BOOL WriteTarget(const OperationFiles& files, const void* bytes, UINT count);

// Cuts the target back to its length before the operation where it can,
// shows error 3049, and 3071 when the target could not be restored, and
// closes both files.
void FailOperation(OperationFiles* files);

// Writes what is pending and closes both files. A failed write is handled as
// by FailOperation. Returns FALSE then.
BOOL CloseOperationFiles(OperationFiles* files);

}  // namespace sif
