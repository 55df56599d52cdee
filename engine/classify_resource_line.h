// Resource-script line classifier.
#pragma once

namespace sif {

inline constexpr int kKeywordSize = 12;  // "STRINGTABLE" and its NUL

// 1 while inside a string-table block; cleared by ExtractFile per file.
extern int g_bInStringTable;

// Keyword of the last classified line; never cleared.
extern char g_szKeyword[kKeywordSize];

// 1 when the line carries a user-visible string, else 0.
int ClassifyResourceLine(const char* line);

// The same for line[0, n), which holds no NUL.
int ClassifyResourceText(const char* line, int n);

// Whether a classifier word may begin at a byte `first` followed by `second`:
// true for every word's first two letters, and for "}" whatever follows.
constexpr bool MayBeginResourceWord(char first, char second) {
    switch (first) {
        case '}':
            return true;
        case 'S':
        case 'L':
        case 'R':
            return second == 'T';
        case 'E':
            return second == 'N';
        case 'C':
            return second == 'A' || second == 'O' || second == 'T';
        case 'P':
            return second == 'O' || second == 'U';
        case 'M':
            return second == 'E';
        default:
            return false;
    }
}

}  // namespace sif
