#include "tests/support/fault_plan.h"

#include <array>
#include <cstddef>
#include <vector>

namespace sif::test {

namespace {

struct Planned {
    os::Call call;
    int first;
    int count;  // FaultPlan::kEveryLater: no end
    int every;  // 0: consecutive calls from `first`
    os::Fault fault;
};

std::vector<Planned> g_planned;
std::array<int, 3> g_calls{};

bool Hits(const Planned& p, int n) {
    if (p.every > 0) {
        return n % p.every == 0;
    }
    return n >= p.first && (p.count == FaultPlan::kEveryLater || n < p.first + p.count);
}

os::Fault Hook(os::Call call) {
    const int n = ++g_calls[static_cast<std::size_t>(call)];
    for (const Planned& p : g_planned) {
        if (p.call == call && Hits(p, n)) {
            return p.fault;
        }
    }
    return os::Fault::None;
}

}  // namespace

FaultPlan::FaultPlan() {
    g_planned.clear();
    g_calls = {};
    os::SetFaultHook(&Hook);
}

FaultPlan::~FaultPlan() {
    os::SetFaultHook(nullptr);
    g_planned.clear();
}

FaultPlan& FaultPlan::At(os::Call call, int nth, os::Fault fault, int count) {
    g_planned.push_back({call, nth, count, 0, fault});
    return *this;
}

FaultPlan& FaultPlan::Every(os::Call call, int every, os::Fault fault) {
    g_planned.push_back({call, 0, 0, every, fault});
    return *this;
}

int FaultPlan::Calls(os::Call call) const {
    return g_calls[static_cast<std::size_t>(call)];
}

}  // namespace sif::test
