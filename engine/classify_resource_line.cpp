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

// The fast paths skip positions that MayBeginResourceWord refuses.
constexpr bool EveryWordMayBegin() {
    for (const ResourceWord& word : kWords) {
        if (!MayBeginResourceWord(word.text[0], word.text.size() > 1 ? word.text[1] : '\0')) {
            return false;
        }
    }
    return true;
}
static_assert(EveryWordMayBegin());

// For every byte, the words that begin with it (at most three, ended by -1),
// so that a position is tested against those words only.
using WordList = std::array<signed char, 4>;

constexpr std::array<WordList, 256> MakeWordsByFirstByte() {
    std::array<WordList, 256> table{};
    for (WordList& list : table) {
        list = {-1, -1, -1, -1};
    }
    for (std::size_t w = 0; w < std::size(kWords); ++w) {
        WordList& list = table[static_cast<unsigned char>(kWords[w].text[0])];
        std::size_t slot = 0;
        while (list[slot] >= 0) {
            ++slot;
        }
        list[slot] = static_cast<signed char>(w);
    }
    return table;
}
constexpr std::array<WordList, 256> kWordsByFirstByte = MakeWordsByFirstByte();

void SetKeyword(std::string_view word) {
    std::memcpy(g_szKeyword, word.data(), word.size());
    g_szKeyword[word.size()] = '\0';
}

}  // namespace

int ClassifyResourceLine(const char* line) {
    const int n = static_cast<int>(strnlen(line, kLineMax));
    return ClassifyResourceText(line, n);
}

int ClassifyResourceText(const char* line, int n) {
    BeginResourceLine(n);
    for (int p = 0; p < n; ++p) {
        if (ResourceWordAt(line, n, p)) {
            return 1;
        }
    }
    return g_bInStringTable;
}

void BeginResourceLine(int n) {
    if (n > 11) {
        // Entries of a string table go out under this keyword.
        SetKeyword("STRINGTABLE");
    }
}

int ResourceWordAt(const char* line, int n, int p) {
    const WordList& candidates = kWordsByFirstByte[static_cast<unsigned char>(line[p])];
    for (int i = 0; candidates[i] >= 0; ++i) {
        const ResourceWord& word = kWords[candidates[i]];
        const std::size_t size = word.text.size();
        // The second letter tells the words of one first letter apart before
        // the whole word is compared.
        if (n <= word.lineLongerThan || static_cast<std::size_t>(n - p) < size ||
            (size > 1 && line[p + 1] != word.text[1]) ||
            std::memcmp(line + p, word.text.data(), size) != 0) {
            continue;
        }
        if (word.effect == WordEffect::Keyword) {
            SetKeyword(word.text);
            return 1;
        }
        g_bInStringTable = word.effect == WordEffect::EnterTable ? 1 : 0;
        return 0;
    }
    return 0;
}

}  // namespace sif
