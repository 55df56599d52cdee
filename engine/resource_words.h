// The resource classifier's words and their effects, written once for the
// reference classifier (engine/classify_resource_line.cpp) and the block walk
// (engine/resource_walk.cpp) alike.
#pragma once

#include <string_view>

namespace sif {

enum class WordEffect { EnterTable, LeaveTable, Keyword };

struct ResourceWord {
    std::string_view text;
    int lineLongerThan;  // looked for only in lines longer than this
    WordEffect effect;
};

// Tested in this order at every position. No two words share their first two
// letters, so at most one of them matches at one position.
inline constexpr ResourceWord kResourceWords[] = {
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

// Every line longer than this goes out under the keyword "STRINGTABLE" unless
// a keyword of its own follows: the entries of a string table have none.
inline constexpr int kTableKeywordLineLongerThan = 11;
inline constexpr std::string_view kTableKeyword = "STRINGTABLE";

}  // namespace sif
