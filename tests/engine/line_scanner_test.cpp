// The line scanner on every vector level against FilterLinePiece piece by
// piece, with an output that fills after a few bytes, so that the walks stop
// and go on again at every kind of place: inside a chunk, at piece ends,
// behind NULs, before long pieces. For resource scripts the classifier's
// state is compared wherever the scanner stops, too.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/classify_resource_line.h"
#include "engine/extract_request.h"
#include "engine/kernels/kernel_table.h"
#include "engine/line_limits.h"
#include "engine/line_scanner.h"
#include "engine/vector_level.h"
#include "tests/engine/reference_piece_end.h"

namespace sif {
namespace {

// What the classifier leaves: every byte of the keyword buffer, since a
// shorter keyword leaves the longer one's end behind its NUL.
struct ClassifierState {
    std::string keyword;
    int inTable;

    static ClassifierState Now() {
        return {std::string(g_szKeyword, kKeywordSize), g_bInStringTable};
    }
    void Restore() const {
        std::memcpy(g_szKeyword, keyword.data(), kKeywordSize);
        g_bInStringTable = inTable;
    }
    bool operator==(const ClassifierState&) const = default;
};

struct Scan {
    std::string output;
    std::vector<std::size_t> notices;  // output before each long piece
    std::size_t position = 0;          // of the unfinished piece
    // The state where a piece ends (the reference), or where a Run stopped.
    std::map<std::size_t, ClassifierState> states;
};

struct Pair {
    char left;
    char right;
};

// Lines around the 64-byte chunks and the 498-byte pieces, full of the
// delimiters, backslashes, CRs and a few NULs; for resource scripts also
// short lines around the classifier's length rules, its words whole, cut or
// ended by a NUL, and words across the end of a long piece.
std::string MakeBlock(std::mt19937& random, Pair pair, bool resource) {
    using namespace std::string_view_literals;
    const std::size_t lengths[] = {0,   1,   2,   10,  30,  62,  63,  64,  65,
                                   127, 300, 496, 497, 498, 499, 995, 996, 1200};
    const std::size_t shortLengths[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 40};
    const std::string bytes = {pair.left, pair.right, pair.left, pair.right, '\\',
                               '\r',      'a',        'b',       ' ',        '"'};
    const std::string_view words[] = {
        "STRINGTABLE"sv, "END"sv,        "}"sv,          "CAPTION"sv,   "CONTROL"sv,
        "LTEXT"sv,       "RTEXT"sv,      "CTEXT"sv,      "POPUP"sv,     "MENUITEM"sv,
        "PUSHBUTTON"sv,  "STRINGTABL"sv, "EN"sv,         "PUSHBUTTO"sv, "\"\""sv,
        "CO"sv,          "LTEXT\0"sv,    "MENUITEM\0"sv, "END\0"sv};
    std::string block;
    while (block.size() < 20000) {
        std::string line;
        std::size_t length = lengths[random() % std::size(lengths)];
        if (resource) {
            switch (random() % 4) {
                case 0:
                    length = shortLengths[random() % std::size(shortLengths)];
                    break;
                case 1:
                    line.assign(kLinePieceMax - 1 - random() % 11, ' ');
                    line += words[random() % std::size(words)];
                    break;
                default:
                    break;
            }
        }
        while (line.size() < length) {
            if (resource && random() % 6 == 0) {
                line += words[random() % std::size(words)];
            } else {
                line += random() % 300 == 0 ? '\0' : bytes[random() % bytes.size()];
            }
        }
        block += line + (random() % 2 == 0 ? "\n" : "\r\n");
    }
    return block + std::string(random() % 600, 'e');
}

Scan Reference(const LineSettings& settings, const std::string& block) {
    Scan scan;
    scan.states[0] = ClassifierState::Now();
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
        scan.states[pos] = ClassifierState::Now();
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
        scan.states[scanner.Position()] = ClassifierState::Now();
        if (stop == ScanStop::LongPiece) {
            scan.notices.push_back(scan.output.size() + out.size);
            scanner.Announced();
        } else {
            scan.output.append(out.data, out.size);
            out.size = 0;
        }
    }
    scan.states[scanner.Position()] = ClassifierState::Now();
    scan.output.append(out.data, out.size);
    scan.position = scanner.Position();
    return scan;
}

struct Job {
    int kind;
    int positive;
    std::vector<Pair> pairs;
};

// The resource kind starts in and outside a string table, under a keyword
// the scripts never set, with another's end behind its NUL.
const Job kJobs[] = {
    {KindText, 0, {{'"', '"'}, {'(', ')'}, {'\\', '\\'}, {'"', '\\'}, {'\r', '"'}}},
    {KindText, 1, {{'"', '"'}, {'(', ')'}, {'\\', '\\'}, {'"', '\\'}, {'\r', '"'}}},
    {KindResource,
     1,
     {{'"', '"'}, {'(', ')'}, {'"', '\\'}, {'\\', '\\'}, {'\n', '"'}, {'"', '\0'}, {'\0', '\0'}}},
};

TEST(LineScanner, EveryLevelWritesWhatThePiecesWriteWhereverTheOutputFills) {
    std::mt19937 random(498);
    for (const Job& job : kJobs) {
        for (const Pair pair : job.pairs) {
            const bool resource = job.kind == KindResource;
            const std::string block = MakeBlock(random, pair, resource);
            const LineSettings settings{pair.left, pair.right, job.kind, job.positive,
                                        resource ? "\tsome/source.rc\r\n" : ""};
            const ClassifierState start{std::string("LIST\0XTEXT\0", kKeywordSize),
                                        static_cast<int>(random() % 2)};
            start.Restore();
            const Scan expected = Reference(settings, block);
            for (const VectorLevel level :
                 {VectorLevel::Sse2, VectorLevel::Avx2, VectorLevel::Avx512}) {
                if (!CanRunVectorLevel(level)) {
                    continue;
                }
                for (const std::size_t drainAt : {1u, 37u, 600u, 1u << 20}) {
                    SCOPED_TRACE(testing::Message()
                                 << "kind " << job.kind << " " << pair.left << pair.right
                                 << " positive " << job.positive << " " << VectorLevelName(level)
                                 << " drain at " << drainAt);
                    start.Restore();
                    const Scan scan = Scanned(settings, *KernelsFor(level), block, drainAt);
                    ASSERT_EQ(scan.output, expected.output);
                    ASSERT_EQ(scan.notices, expected.notices);
                    ASSERT_EQ(scan.position, expected.position);
                    // The text kind's strip may stop inside a piece, and
                    // leaves the classifier alone.
                    for (const auto& [position, state] : scan.states) {
                        ASSERT_TRUE(!resource || state == expected.states.at(position))
                            << "at " << position;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace sif
