#include "engine/stream_filter.h"

#include <memory>

#include "engine/kernels/kernel_table.h"
#include "engine/operation_files.h"
#include "engine/stream_keep.h"

namespace sif {

namespace {

// Kept bytes go to the target once there are this many: a run's output
// reaches it in steps, whatever the read size.
constexpr UINT kWriteSize = 64 * 1024;

}  // namespace

int StreamFilter(const char* source, const char* target, const char* left, const char* right,
                 int mode) {
    OperationFiles files;
    // Unlike the line modes, a new target is created without a notice.
    if (!OpenOperationFiles(source, target, TargetNotice::Silent, &files)) {
        return 0;
    }

    StreamState state{left[0], right[0], mode == 0};
    const KeepBytesFunction keepBytes = ActiveKernels().keepBytes;
    // The only memory the filter uses, whatever the size of the source. Each
    // read lands behind the bytes kept so far and is filtered where it lies;
    // once a write's worth is kept it goes to the target in one write, which
    // the file layer hands straight to the system instead of copying it.
    const auto buffer = std::make_unique_for_overwrite<char[]>(kWriteSize + kStreamReadSize);
    UINT kept = 0;
    for (;;) {
        char* const chunk = buffer.get() + kept;
        const UINT got = _lread(files.source, chunk, kStreamReadSize);
        if (got == 0) {
            break;
        }
        if (got == static_cast<UINT>(HFILE_ERROR)) {
            FailOperation(&files);
            return 0;
        }
        kept += static_cast<UINT>(keepBytes(state, chunk, chunk, got) - chunk);
        if (kept >= kWriteSize) {
            if (!WriteTarget(files, buffer.get(), kept)) {
                FailOperation(&files);
                return 0;
            }
            kept = 0;
        }
    }
    if (kept > 0 && !WriteTarget(files, buffer.get(), kept)) {
        FailOperation(&files);
        return 0;
    }
    return CloseOperationFiles(&files) ? 1 : 0;
}

}  // namespace sif
