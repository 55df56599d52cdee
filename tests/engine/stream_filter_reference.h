// The multiline filter one byte at a time, as the dialog's multiline modes
// define it. The engine's versions move whole runs; the tests and the fuzzer
// compare the two.
#pragma once

#include <string>
#include <string_view>

namespace sif::test {

inline std::string ReferenceStreamFilter(std::string_view source, char left, char right, int mode) {
    std::string kept;
    bool inside = false;
    for (const char c : source) {
        bool justClosed = false;
        if (c == right && inside) {
            inside = false;
            justClosed = true;
        }
        if (mode == 0 ? inside : (!inside && c != left && c != right)) {
            kept += c;
        }
        if (c == left && !inside && !justClosed) {
            inside = true;
        }
    }
    return kept;
}

}  // namespace sif::test
