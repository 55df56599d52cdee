// Planned faults in the raw file calls for the life of one object: from the
// n-th call of a kind on, `count` calls get the fault (or every later one).
#pragma once

#include "platform/os_fault.h"

namespace sif::test {

class FaultPlan {
  public:
    static constexpr int kEveryLater = -1;

    FaultPlan();
    ~FaultPlan();
    FaultPlan(const FaultPlan&) = delete;
    FaultPlan& operator=(const FaultPlan&) = delete;

    // nth counts from 1, from the plan's start; every n-th when `every`.
    FaultPlan& At(os::Call call, int nth, os::Fault fault, int count = 1);
    FaultPlan& Every(os::Call call, int every, os::Fault fault);

    // How many calls of the kind ran (faulted or not) while planned.
    int Calls(os::Call call) const;
};

}  // namespace sif::test
