#include "engine/extract_file.h"

#include <cstring>
#include <memory>
#include <string>

#include "engine/classify_resource_line.h"
#include "engine/line_scanner.h"
#include "engine/line_target.h"
#include "engine/operation_files.h"

namespace sif {

char g_szLine[kLineBufferSize];

namespace {

constexpr UINT kReadError = static_cast<UINT>(HFILE_ERROR);

// One read: large, so that the file services hand it over without a copy of
// their own.
constexpr std::size_t kReadSize = 128 * 1024;

// Room in front of a read for the unfinished piece of the one before.
constexpr std::size_t kCarryRoom = 512;
static_assert(kCarryRoom >= kLinePieceMax);
static_assert(kCarryRoom + kReadSize <= LineScanner::kMaxBlock);

}  // namespace

int ExtractFile(const char* source, const char* target, const char* left, const char* right,
                int kind, int positive) {
    OperationFiles files;
    if (!OpenOperationFiles(source, target, TargetNotice::Show, &files)) {
        return 0;
    }
    g_bInStringTable = 0;
    const std::string sourceTail = std::string("\t") + source + "\r\n";
    const LineSettings settings{left[0], right[0], kind, positive, sourceTail};
    LineTarget writer(&files, LineOutputReserve(settings));
    LineOutput* const out = writer.output();
    LineScanner scanner(settings, ActiveKernels());

    // The unfinished piece of one read waits in front of the next read's
    // bytes. Only what a read fills is ever used, so the buffer is not
    // cleared first; the padding behind each read is, for the vector
    // passes that look past the block's end.
    const auto read =
        std::make_unique_for_overwrite<char[]>(kCarryRoom + kReadSize + kBlockPadding);
    char* const readAt = read.get() + kCarryRoom;
    std::size_t carry = 0;
    for (;;) {
        const UINT got = _lread(files.source, readAt, kReadSize);
        if (got == kReadError) {
            // The notices before it are shown first.
            if (writer.Write()) {
                FailOperation(&files);
            }
            return 0;
        }
        if (got == 0) {
            break;
        }
        std::memset(readAt + got, 0, kBlockPadding);
        char* const block = readAt - carry;
        scanner.Load(block, carry + got);
        for (ScanStop stop; (stop = scanner.Run(out)) != ScanStop::NeedInput;) {
            if (stop == ScanStop::OutputFull) {
                if (!writer.Write()) {
                    return 0;
                }
            } else {
                if (!writer.NoticeLineTooLong()) {
                    return 0;
                }
                scanner.Announced();
            }
        }
        carry = carry + got - scanner.Position();
        std::memmove(readAt - carry, block + scanner.Position(), carry);
    }

    // The last piece: what is left, and the NUL stored for the read that
    // found the end, as a byte of the line.
    std::memcpy(g_szLine, readAt - carry, carry);
    const int n = static_cast<int>(carry) + 1;
    g_szLine[n - 1] = '\0';
    g_szLine[n] = '\0';
    if (n == kLinePieceMax && !writer.NoticeLineTooLong()) {
        return 0;
    }
    FilterLinePiece(settings, g_szLine, n, out);
    if (!writer.Write()) {
        return 0;
    }
    return CloseOperationFiles(&files) ? 1 : 0;
}

}  // namespace sif
