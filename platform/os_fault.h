// A test seam in the raw file calls: a hook that may make the next read,
// write or cut fail, be interrupted or come up short, so that the paths
// which handle such faults can be driven without a full disk or a broken
// device. No hook is set in the programs.
#pragma once

namespace sif::os {

enum class Call { Read, Write, Cut };

enum class Fault {
    None,
    Fail,       // the call fails with an I/O error
    Interrupt,  // a signal interrupts the call before it did anything (POSIX)
    Short,      // a write takes only part of its bytes
};

using FaultHook = Fault (*)(Call call);

// nullptr: every call runs as the system makes it.
void SetFaultHook(FaultHook hook);

// What the hook plans for this call; Fault::None without a hook. Safe in a
// signal handler.
Fault PlannedFault(Call call);

}  // namespace sif::os
