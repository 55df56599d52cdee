// The multiline modes through the run command and the file services, against
// the byte-at-a-time reference, with read, write and cut-back faults.
// Mode bit 0: keep the bytes outside the delimited stretches.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/messages.h"
#include "fuzz/checked_run.h"
#include "fuzz/fuzz_case.h"
#include "fuzz/source_text.h"
#include "tests/engine/stream_filter_reference.h"

namespace {

// The size of the stream filter's reads.
constexpr std::size_t kReadBlock = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sif;
    static fuzz::FuzzCase c;
    fuzz::ReadFuzzCase(data, size, kReadBlock, &c);
    const int mode = c.mode & 1;
    const ExtractRequest request =
        fuzz::RequestFor(c, KindText, mode == 0 ? ModeMultilinePositive : ModeMultilineNegative);
    static std::string text;
    const bool readable = fuzz::ReadAsTheEngine(c.source, &text);
    fuzz::RunAndCheck(
        c, readable, request,
        {test::ReferenceStreamFilter(text, c.left, c.right, mode), {}, kMsgMultilineOk, false});
    return 0;
}
