#include "engine/strip_delimited.h"

#include <cstring>

#include "engine/delimiter_rules.h"
#include "engine/line_limits.h"

namespace sif {

namespace {

// The first `c` in line[from, end), or `end`.
int FindOrEnd(const char* line, int from, int end, char c) {
    const void* hit = std::memchr(line + from, c, static_cast<std::size_t>(end - from));
    return hit != nullptr ? static_cast<int>(static_cast<const char*>(hit) - line) : end;
}

}  // namespace

int StripPieces(const char* line, int end, char left, char right, char* out) {
    // The result never gets ahead of the scan, so `out` may be `line`.
    int length = 0;
    auto keep = [&](int from, int to) {
        int count = to - from;
        count = count < kLineTextMax - length ? count : kLineTextMax - length;
        if (count > 0) {
            std::memmove(out + length, line + from, static_cast<std::size_t>(count));
            length += count;
        }
    };

    for (int p = 0; p < end;) {
        // Outside: text up to the next left delimiter is kept, but a right
        // delimiter standing alone is dropped.
        const int open = FindOrEnd(line, p, end, left);
        KeepOutside(
            p, open, left == right,
            [&](int from, int to) { return FindOrEnd(line, from, to, right); }, keep);
        if (open == end) {
            break;
        }
        // Inside: a left delimiter changes nothing; the first right one ends
        // the stretch.
        const int close = FindOrEnd(line, open + 1, end, right);
        p = close + 1;
    }
    return length;
}

int StripDelimited(char* line, char left, char right, int examined) {
    // Everything up to the first NUL among the examined positions: the NUL
    // itself can only end the line, never be kept.
    int end = examined < 0 ? 0 : examined;
    end = FindOrEnd(line, 0, end, '\0');
    const int length = StripPieces(line, end, left, right, line);
    line[length] = '\0';
    return length;
}

}  // namespace sif
