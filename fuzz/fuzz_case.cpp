#include "fuzz/fuzz_case.h"

#include <string_view>

#include "tests/support/fault_plan.h"

namespace sif::fuzz {

namespace {

using test::FaultPlan;

// The widest level up to `wanted` that this machine runs.
VectorLevel RunnableLevel(int wanted) {
    for (int level = wanted; level > 0; --level) {
        if (CanRunVectorLevel(static_cast<VectorLevel>(level))) {
            return static_cast<VectorLevel>(level);
        }
    }
    return VectorLevel::Scalar;
}

// Bits 0-1: none, read, write, write; bits 2-3: fail, interrupt, short,
// fail; bits 4-7: how many calls, 0 for every later one.
PlannedFault ReadIoFault(std::uint8_t spec, std::uint8_t nth) {
    static constexpr os::Fault kFaults[] = {os::Fault::Fail, os::Fault::Interrupt, os::Fault::Short,
                                            os::Fault::Fail};
    PlannedFault p;
    if ((spec & 3) == 0) {
        return p;
    }
    p.call = (spec & 3) == 1 ? os::Call::Read : os::Call::Write;
    p.fault = kFaults[(spec >> 2) & 3];
    p.nth = 1 + nth;
    const int count = spec >> 4;
    // Interrupted calls are retried: a storm without end would hang the run.
    if (p.fault == os::Fault::Interrupt) {
        p.count = 1 + count;
    } else {
        p.count = count == 0 ? FaultPlan::kEveryLater : count;
    }
    return p;
}

// None; the first cut fails; every cut fails; the first three are
// interrupted.
PlannedFault ReadCutFault(std::uint8_t spec) {
    PlannedFault p;
    p.call = os::Call::Cut;
    switch (spec & 3) {
        case 1:
            p.fault = os::Fault::Fail;
            break;
        case 2:
            p.fault = os::Fault::Fail;
            p.count = FaultPlan::kEveryLater;
            break;
        case 3:
            p.fault = os::Fault::Interrupt;
            p.count = 3;
            break;
        default:
            break;
    }
    return p;
}

// Lines of plain text, the last one cut where the filler ends.
std::string_view Filler(std::size_t size) {
    static const std::string lines = [] {
        std::string all;
        while (all.size() < 256 * 1024) {
            all += std::string(299, 'f') + "\n";
        }
        return all;
    }();
    return std::string_view(lines).substr(0, size);
}

void FillEarlier(std::size_t size, std::string* earlier) {
    earlier->clear();
    for (std::size_t i = 0; i < size; ++i) {
        *earlier += i % 16 == 15 ? '\n' : static_cast<char>('a' + i % 26);
    }
}

}  // namespace

// The header: [0] bits 0-1 mode, 2-3 vector level, 4 English, 5 boxes gather,
// 6 no target, 7 filler; [1] left and [2] right delimiter; [3] the read or
// write fault, [4] the call it begins at, less one; [5] bits 0-1 the cut-back
// fault, 2-7 the earlier content's length / 4; [6] how far before the block's
// end the input's bytes begin, / 2.
void ReadFuzzCase(const std::uint8_t* data, std::size_t size, std::size_t block, FuzzCase* c) {
    std::uint8_t h[kHeaderSize] = {};
    for (std::size_t i = 0; i < kHeaderSize && i < size; ++i) {
        h[i] = data[i];
    }
    c->mode = h[0] & 3;
    c->level = RunnableLevel((h[0] >> 2) & 3);
    c->english = (h[0] >> 4) & 1;
    c->gatherBoxes = (h[0] & 0x20) != 0;
    c->targetExists = (h[0] & 0x40) == 0;
    c->left = static_cast<char>(h[1]);
    c->right = static_cast<char>(h[2]);
    c->io = ReadIoFault(h[3], h[4]);
    c->cut = ReadCutFault(h[5]);
    FillEarlier(static_cast<std::size_t>(h[5] >> 2) * 4, &c->earlier);
    c->source.clear();
    if (h[0] & 0x80) {
        c->source = Filler(block - 2 * static_cast<std::size_t>(h[6]));
    }
    if (size > kHeaderSize) {
        c->source.append(reinterpret_cast<const char*>(data) + kHeaderSize, size - kHeaderSize);
    }
}

}  // namespace sif::fuzz
