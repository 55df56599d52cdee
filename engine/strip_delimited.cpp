#include "engine/strip_delimited.h"

namespace sif {

namespace {

// The most a filtered line may hold; the line buffer has room for it and the
// NUL.
constexpr int kResultMax = 499;

}  // namespace

int StripDelimited(char* line, char left, char right, int examined) {
    // The result is built in place: it never gets ahead of the scan.
    int length = 0;
    bool inside = false;
    for (int p = 0; p < examined; ++p) {
        const char c = line[p];
        if (c == '\0') {
            break;
        }
        if (c == right && inside) {
            inside = false;
        } else if (c == left) {
            inside = true;
        }
        if (!inside && c != right && length < kResultMax) {
            line[length++] = c;
        }
    }
    line[length] = '\0';
    return length;
}

}  // namespace sif
