// The per-line filters written the plain way, one position at a time, exactly
// as their rules read. The engine's versions jump from delimiter to delimiter;
// tests compare the two on many generated lines.
#pragma once

#include <cstring>

namespace sif::test {

inline void ReferenceExtractDelimited(char* line, char left, char right, int examined,
                                      bool resourceMode) {
    char copy[500] = {};
    int stored = 0;
    while (stored < 499 && line[stored] != '\0') {
        copy[stored] = line[stored];
        ++stored;
    }
    char result[500];
    int length = 0;
    int leftPos = -1;
    int rightPos = -1;
    bool pieceFound = false;
    // The first NUL is examined too; nothing after it is.
    for (int p = 0; p < examined - 1 && p <= stored; ++p) {
        if (leftPos >= 0 && rightPos < 0 && copy[p] == right) {
            if (resourceMode && right == '"' && copy[p + 1] == '"') {
                ++p;
                continue;
            }
            if (!(p > 0 && copy[p - 1] == '\\')) {
                rightPos = p;
            }
        }
        if (leftPos < 0 && copy[p] == left) {
            leftPos = p;
        }
        if (leftPos >= 0 && rightPos >= 0) {
            if (!(resourceMode && pieceFound)) {
                if (pieceFound) {
                    result[length++] = '\r';
                    result[length++] = '\n';
                }
                for (int i = leftPos + 1; i < rightPos; ++i) {
                    result[length++] = copy[i];
                }
                if (length > 499) {
                    length = 499;
                }
            }
            leftPos = rightPos = -1;
            pieceFound = true;
        }
    }
    result[length] = '\0';
    std::memcpy(line, result, static_cast<std::size_t>(length) + 1);
}

inline int ReferenceStripDelimited(char* line, char left, char right, int examined) {
    char result[500];
    int length = 0;
    bool inside = false;
    for (int p = 0; p < examined; ++p) {
        const char c = line[p];
        if (c == right && inside) {
            inside = false;
        } else if (c == left) {
            inside = true;
        }
        if (!inside && c != right && length < 499) {
            result[length++] = c;
        }
        if (c == '\0') {
            break;
        }
    }
    result[length] = '\0';
    const int kept = static_cast<int>(std::strlen(result));
    std::memcpy(line, result, static_cast<std::size_t>(kept) + 1);
    return kept;
}

}  // namespace sif::test
