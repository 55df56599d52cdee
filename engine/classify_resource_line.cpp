#include "engine/classify_resource_line.h"

#include <array>
#include <cstring>
#include <string_view>

#include "engine/line_limits.h"
#include "engine/resource_words.h"

namespace sif {

int g_bInStringTable = 0;
char g_szKeyword[kKeywordSize] = "";

namespace {

constexpr bool WordsFitKeyword() {
    for (const ResourceWord& word : kResourceWords) {
        if (word.text.size() >= kKeywordSize) {
            return false;
        }
    }
    return true;
}
static_assert(WordsFitKeyword());

// The fast paths skip positions that MayBeginResourceWord refuses.
constexpr bool EveryWordMayBegin() {
    for (const ResourceWord& word : kResourceWords) {
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
    for (std::size_t w = 0; w < std::size(kResourceWords); ++w) {
        WordList& list = table[static_cast<unsigned char>(kResourceWords[w].text[0])];
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

// A line of n characters begins.
void BeginResourceLine(int n) {
    if (n > kTableKeywordLineLongerThan) {
        SetKeyword(kTableKeyword);
    }
}

// The word at line[p], if any, takes effect: 1 for a keyword.
int ResourceWordAt(const char* line, int n, int p) {
    const WordList& candidates = kWordsByFirstByte[static_cast<unsigned char>(line[p])];
    for (int i = 0; candidates[i] >= 0; ++i) {
        const ResourceWord& word = kResourceWords[candidates[i]];
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

}  // namespace

int ClassifyResourceLine(const char* line) {
    const int n = static_cast<int>(strnlen(line, kLineTextMax));
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

}  // namespace sif
