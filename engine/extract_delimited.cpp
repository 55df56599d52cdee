#include "engine/extract_delimited.h"

#include <cstring>

#include "engine/classify_resource_line.h"
#include "engine/delimiter_rules.h"
#include "engine/line_limits.h"

namespace sif {

namespace {

// The first `c` in line[from, end), or -1.
int Find(const char* line, int from, int end, char c) {
    const void* hit = std::memchr(line + from, c, static_cast<std::size_t>(end - from));
    return hit != nullptr ? static_cast<int>(static_cast<const char*>(hit) - line) : -1;
}

// The right delimiter that closes a piece opened at `leftPos`, or -1. A
// candidate after a backslash, and in resource mode a doubled quote, are text.
int FindClosing(const char* line, int leftPos, int end, char right, bool resourceMode) {
    for (int p = leftPos + 1; p < end;) {
        p = Find(line, p, end, right);
        if (p < 0) {
            return -1;
        }
        const int skip = SkipRefusedClose(line, static_cast<std::size_t>(p),
                                          static_cast<std::size_t>(end), right, resourceMode);
        if (skip == 0) {
            return p;
        }
        p += skip;
    }
    return -1;
}

}  // namespace

int ExtractPieces(const char* line, int end, char left, char right, bool resourceMode, char* out) {
    // Writing never overtakes reading: every piece costs its two delimiters
    // and gains at most the two separator bytes. So `out` may be `line`.
    int length = 0;
    auto append = [&](const char* bytes, int count) {
        const int take = count < kLineTextMax - length ? count : kLineTextMax - length;
        if (take > 0) {
            std::memmove(out + length, bytes, static_cast<std::size_t>(take));
            length += take;
        }
    };

    bool pieceFound = false;
    for (int p = 0; p < end;) {
        const int leftPos = Find(line, p, end, left);
        if (leftPos < 0) {
            break;
        }
        const int rightPos = FindClosing(line, leftPos, end, right, resourceMode);
        if (rightPos < 0) {
            break;  // a piece never closed on its line is dropped
        }
        if (pieceFound) {
            append("\r\n", 2);
        }
        append(line + leftPos + 1, rightPos - leftPos - 1);
        pieceFound = true;
        if (resourceMode) {
            break;  // only the first piece of a resource line counts
        }
        // The closing delimiter never opens the next piece.
        p = rightPos + 1;
    }
    return length;
}

void ExtractDelimited(char* line, char left, char right, int examined, int resource) {
    const bool resourceMode = resource == 1;
    if (resourceMode && !ClassifyResourceLine(line)) {
        line[0] = '\0';
        return;
    }

    // Positions 0 .. examined - 2, and none after the line's first NUL. That
    // NUL is examined itself: it closes a piece when the right delimiter is
    // NUL (an empty delimiter field).
    int end = examined - 1;
    end = end < 0 ? 0 : end > kLineTextMax ? kLineTextMax : end;
    if (const int nul = Find(line, 0, end, '\0'); nul >= 0) {
        end = nul + 1;
    }
    line[ExtractPieces(line, end, left, right, resourceMode, line)] = '\0';
}

}  // namespace sif
