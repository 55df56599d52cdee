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

// The same for line[0, n), which holds no NUL, when no word can begin before
// `firstCandidate` (n when none can begin anywhere): the scan starts there.
int ClassifyResourceText(const char* line, int n, int firstCandidate);

}  // namespace sif
