#include "platform/os_file.h"
#include "tests/support/lock_holder.h"

namespace sif::test {

LockHolder::LockHolder(const std::string& file) {
    unsigned error = 0;
    const os::File f = os::Open(file.c_str(), OF_READWRITE, &error);
    holder_ = f;
    held_ = f != os::kNoFile && os::TryLockTarget(f) == os::LockState::Locked;
}

LockHolder::~LockHolder() {
    if (holder_ != os::kNoFile) {
        os::Close(static_cast<os::File>(holder_));
    }
}

}  // namespace sif::test
