// The per-line filters written the plain way, one position at a time, exactly
// as their rules read. The engine's versions jump from delimiter to delimiter;
// tests compare the two on many generated lines.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "engine/classify_resource_line.h"

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

// What the line operation gives for a whole source.
struct LineRun {
    std::string output;
    std::vector<std::size_t> tooLongAt;  // output written before each notice
};

// The line operation as it was first written: one byte at a time into the
// line buffer, pieces of at most 498 bytes, a NUL stored for the read that
// finds the end, then the per-line filter and one write per line.
inline LineRun ReferenceLineRun(const std::string& source, char left, char right, int kind,
                                int positive, const std::string& sourceName) {
    LineRun run;
    char line[510];
    g_bInStringTable = 0;
    std::size_t at = 0;
    for (bool atEnd = false; !atEnd;) {
        int n = 0;
        while (n < 498) {
            if (at == source.size()) {
                atEnd = true;
                line[n++] = '\0';
                break;
            }
            line[n++] = source[at++];
            if (line[n - 1] == '\n') {
                break;
            }
        }
        line[n] = '\0';
        if (n == 498) {
            run.tooLongAt.push_back(run.output.size());
        }
        if (positive != 1) {
            const int kept = ReferenceStripDelimited(line, left, right, n + 1);
            run.output.append(line, static_cast<std::size_t>(kept));
            continue;
        }
        if (kind == 1 && !ClassifyResourceLine(line)) {
            continue;
        }
        ReferenceExtractDelimited(line, left, right, n + 1, kind == 1);
        if (line[0] == '\0') {
            continue;
        }
        run.output += line;
        if (kind == 1) {
            run.output += std::string("\t") + g_szKeyword + "\t" + sourceName + "\r\n";
        } else {
            run.output += "\r\n";
        }
    }
    return run;
}

}  // namespace sif::test
