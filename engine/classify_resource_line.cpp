#include "engine/classify_resource_line.h"

#include <array>
#include <cstring>
#include <string_view>

namespace sif {

int g_bInStringTable = 0;
char g_szKeyword[kKeywordSize] = "";

namespace {

// The most of a line that is looked at: what the line buffer holds.
constexpr int kLineMax = 499;

enum class WordEffect { EnterTable, LeaveTable, Keyword };

struct ResourceWord {
    std::string_view text;
    int lineLongerThan;  // looked for only in lines longer than this
    WordEffect effect;
};

// Tested in this order at every position. No two words share their first two
// letters, so at most one of them matches at one position.
constexpr ResourceWord kWords[] = {
    {"STRINGTABLE", 11, WordEffect::EnterTable},
    {"END", 3, WordEffect::LeaveTable},
    {"}", 0, WordEffect::LeaveTable},
    {"CAPTION", 7, WordEffect::Keyword},
    {"CONTROL", 7, WordEffect::Keyword},
    {"LTEXT", 5, WordEffect::Keyword},
    {"RTEXT", 5, WordEffect::Keyword},
    {"CTEXT", 5, WordEffect::Keyword},
    {"POPUP", 5, WordEffect::Keyword},
    {"MENUITEM", 8, WordEffect::Keyword},
    {"PUSHBUTTON", 10, WordEffect::Keyword},
};

constexpr bool WordsFitKeyword() {
    for (const ResourceWord& word : kWords) {
        if (word.text.size() >= kKeywordSize) {
            return false;
        }
    }
    return true;
}
static_assert(WordsFitKeyword());

// Bytes that can begin a word; every other position is passed over at once.
constexpr std::array<bool, 256> MakeWordStarts() {
    std::array<bool, 256> starts{};
    for (const ResourceWord& word : kWords) {
        starts[static_cast<unsigned char>(word.text[0])] = true;
    }
    return starts;
}
constexpr std::array<bool, 256> kWordStarts = MakeWordStarts();

void SetKeyword(std::string_view word) {
    std::memcpy(g_szKeyword, word.data(), word.size());
    g_szKeyword[word.size()] = '\0';
}

}  // namespace

int ClassifyResourceLine(const char* line) {
    int n = 0;
    while (n < kLineMax && line[n] != '\0') {
        ++n;
    }
    if (n > 11) {
        // Entries of a string table go out under this keyword.
        SetKeyword("STRINGTABLE");
    }

    for (int p = 0; p < n; ++p) {
        if (!kWordStarts[static_cast<unsigned char>(line[p])]) {
            continue;
        }
        const std::string_view rest(line + p, static_cast<size_t>(n - p));
        for (const ResourceWord& word : kWords) {
            if (n <= word.lineLongerThan || !rest.starts_with(word.text)) {
                continue;
            }
            if (word.effect == WordEffect::Keyword) {
                SetKeyword(word.text);
                return 1;
            }
            g_bInStringTable = word.effect == WordEffect::EnterTable ? 1 : 0;
            break;
        }
    }
    return g_bInStringTable;
}

}  // namespace sif
