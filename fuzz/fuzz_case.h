// How a fuzzer input becomes one run: the first bytes choose the request, the
// faults and the target's earlier content; the rest is the source.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/vector_level.h"
#include "platform/os_fault.h"

namespace sif::fuzz {

// Bytes read before the source; a shorter input reads as padded with zeros.
inline constexpr std::size_t kHeaderSize = 7;

struct PlannedFault {
    os::Call call = os::Call::Read;
    os::Fault fault = os::Fault::None;  // None: nothing planned
    int nth = 1;                        // counted from the run's start
    int count = 1;                      // FaultPlan::kEveryLater: no end
};

struct FuzzCase {
    int mode;  // two bits; each fuzzer gives them their meaning
    VectorLevel level;
    int english;
    bool gatherBoxes;
    bool targetExists;
    char left;
    char right;
    PlannedFault io;   // a read or write fault
    PlannedFault cut;  // a fault in the cut-back after a failure
    std::string earlier;
    std::string source;
};

// `block`: the size of the operation's reads. A source may begin with filler
// that brings the input's own bytes to just before a block's end. The strings
// of `c` are refilled in place: the fuzzers reuse one case, and its memory.
void ReadFuzzCase(const std::uint8_t* data, std::size_t size, std::size_t block, FuzzCase* c);

}  // namespace sif::fuzz
