#include "platform/os_fault.h"

#include <atomic>

namespace sif::os {

namespace {

std::atomic<FaultHook> g_hook{nullptr};
static_assert(std::atomic<FaultHook>::is_always_lock_free);

}  // namespace

void SetFaultHook(FaultHook hook) {
    g_hook = hook;
}

Fault PlannedFault(Call call) {
    const FaultHook hook = g_hook;
    return hook != nullptr ? hook(call) : Fault::None;
}

}  // namespace sif::os
