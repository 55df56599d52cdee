// The line operation through the run command and the file services, against
// the one-line-at-a-time reference, with read, write and cut-back faults.
// Mode bits: 0 negative, 1 resource kind (whose mode is ignored).
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/classify_resource_line.h"
#include "engine/messages.h"
#include "fuzz/checked_run.h"
#include "fuzz/fuzz_case.h"
#include "fuzz/source_text.h"
#include "tests/engine/line_filter_reference.h"

namespace {

// The size of the line operation's reads.
constexpr std::size_t kReadBlock = 128 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sif;
    static fuzz::FuzzCase c;
    fuzz::ReadFuzzCase(data, size, kReadBlock, &c);
    const ExtractRequest request =
        fuzz::RequestFor(c, (c.mode & 2) != 0 ? KindResource : KindText,
                         (c.mode & 1) != 0 ? ModeNegative : ModePositive);
    const int positive = request.nKind == KindResource || request.nMode == ModePositive ? 1 : 0;

    static std::string text;
    const bool readable = fuzz::ReadAsTheEngine(c.source, &text);
    // The keyword of the last classified line carries over from run to run.
    g_szKeyword[0] = '\0';
    const test::LineRun reference =
        test::ReferenceLineRun(text, c.left, c.right, request.nKind, positive, request.szSource);
    const std::string keywordAfter = g_szKeyword;
    const int tableAfter = g_bInStringTable;
    g_szKeyword[0] = '\0';

    if (fuzz::RunAndCheck(c, readable, request,
                          {reference.output, reference.tooLongAt, kMsgCompleted, true})) {
        fuzz::Check(keywordAfter == g_szKeyword && tableAfter == g_bInStringTable,
                    "the classifier ended in another state than the reference's");
    }
    return 0;
}
