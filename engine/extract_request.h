// The inputs of one run, as the window's OK command or the command line
// reads them.
#pragma once

#include <string>

namespace sif {

enum SourceKind { KindText = 0, KindResource = 1 };

enum ExtractMode {
    ModePositive,
    ModeNegative,
    ModeMultilinePositive,
    ModeMultilineNegative,
};

inline constexpr int kDelimiterFieldSize = 3;  // two characters and the NUL

struct ExtractRequest {
    // File names are kept whole: a cut name would read or write another file.
    std::string szSource;
    std::string szTarget;
    char szLeft[kDelimiterFieldSize] = {};  // first byte is the delimiter
    char szRight[kDelimiterFieldSize] = {};
    SourceKind nKind = KindText;
    ExtractMode nMode = ModePositive;
    int bEnglish = 0;

    // The mode the run uses: a resource script is always read the positive
    // way, whatever mode was chosen.
    ExtractMode ModeToRun() const { return nKind == KindResource ? ModePositive : nMode; }
};

// Copies at most two characters of `text` into a delimiter field.
void SetDelimiterField(char (&field)[kDelimiterFieldSize], const char* text);

}  // namespace sif
