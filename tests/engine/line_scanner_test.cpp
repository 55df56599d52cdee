// The line scanner on every vector level against FilterLinePiece piece by
// piece, with an output that fills after a few bytes, so that the walk over
// whole chunks stops and goes on again at every kind of place: inside a
// chunk, at piece ends, behind NULs, before long pieces.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/extract_file.h"
#include "engine/extract_request.h"
#include "engine/kernels/kernel_table.h"
#include "engine/line_scanner.h"
#include "engine/vector_level.h"
#include "tests/engine/reference_piece_end.h"

namespace sif {
namespace {

struct Scan {
    std::string output;
    std::vector<std::size_t> notices;  // output before each long piece
    std::size_t position = 0;          // of the unfinished piece
};

// Lines around the 64-byte chunks and the 498-byte pieces, full of the
// delimiters, backslashes, CRs and a few NULs.
std::string MakeBlock(std::mt19937& random, char left, char right) {
    const std::size_t lengths[] = {0,   1,   2,   10,  30,  62,  63,  64,  65,
                                   127, 300, 496, 497, 498, 499, 995, 996, 1200};
    const char bytes[] = {left, right, left, right, '\\', '\r', 'a', 'b', ' ', '"'};
    std::string block;
    while (block.size() < 20000) {
        const std::size_t length = lengths[random() % std::size(lengths)];
        for (std::size_t i = 0; i < length; ++i) {
            block += random() % 300 == 0 ? '\0' : bytes[random() % sizeof bytes];
        }
        block += '\n';
    }
    return block + std::string(random() % 600, 'e');
}

Scan Reference(const LineSettings& settings, const std::string& block) {
    Scan scan;
    std::vector<char> buffer(kLinePieceMax + LineOutputReserve(settings));
    for (std::size_t pos = 0;;) {
        const std::size_t end = test::ReferencePieceEnd(block, pos);
        if (end == std::string::npos) {
            scan.position = pos;
            return scan;
        }
        if (end - pos == kLinePieceMax) {
            scan.notices.push_back(scan.output.size());
        }
        LineOutput out{buffer.data(), 0, buffer.size()};
        FilterLinePiece(settings, block.data() + pos, static_cast<int>(end - pos), &out);
        scan.output.append(out.data, out.size);
        pos = end;
    }
}

Scan Scanned(const LineSettings& settings, const KernelTable& kernels, const std::string& block,
             std::size_t drainAt) {
    Scan scan;
    std::string padded = block + std::string(kBlockPadding, '\0');
    std::vector<char> buffer(drainAt + LineOutputReserve(settings));
    LineOutput out{buffer.data(), 0, drainAt};
    LineScanner scanner(settings, kernels);
    scanner.Load(padded.data(), block.size());
    for (ScanStop stop; (stop = scanner.Run(&out)) != ScanStop::NeedInput;) {
        if (stop == ScanStop::LongPiece) {
            scan.notices.push_back(scan.output.size() + out.size);
            scanner.Announced();
        } else {
            scan.output.append(out.data, out.size);
            out.size = 0;
        }
    }
    scan.output.append(out.data, out.size);
    scan.position = scanner.Position();
    return scan;
}

struct Pair {
    char left;
    char right;
};

TEST(LineScanner, EveryLevelWritesWhatThePiecesWriteWhereverTheOutputFills) {
    const Pair pairs[] = {{'"', '"'}, {'(', ')'}, {'\\', '\\'}, {'"', '\\'}, {'\r', '"'}};
    std::mt19937 random(498);
    for (const Pair pair : pairs) {
        const std::string block = MakeBlock(random, pair.left, pair.right);
        for (const int positive : {0, 1}) {
            const LineSettings settings{pair.left, pair.right, KindText, positive, ""};
            const Scan expected = Reference(settings, block);
            for (const VectorLevel level :
                 {VectorLevel::Sse2, VectorLevel::Avx2, VectorLevel::Avx512}) {
                if (!CanRunVectorLevel(level)) {
                    continue;
                }
                for (const std::size_t drainAt : {1u, 37u, 600u, 1u << 20}) {
                    SCOPED_TRACE(testing::Message()
                                 << pair.left << pair.right << " positive " << positive << " "
                                 << VectorLevelName(level) << " drain at " << drainAt);
                    const Scan scan = Scanned(settings, *KernelsFor(level), block, drainAt);
                    ASSERT_EQ(scan.output, expected.output);
                    ASSERT_EQ(scan.notices, expected.notices);
                    ASSERT_EQ(scan.position, expected.position);
                }
            }
        }
    }
}

}  // namespace
}  // namespace sif
