// What a resource script holds once parsed: the compiler's intermediate form
// between the parser and the C++ writer.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace sif::rcc {

struct StringEntry {
    unsigned id;
    std::string text;
    int line;
};

struct ControlEntry {
    std::string statement;  // as written: "LTEXT", "CONTROL", ...
    std::string className;  // "Button", "Edit", "Static"
    std::string text;
    int id;
    unsigned style;
    unsigned exStyle;
    int x, y, w, h;
    int iconId;  // ICON statements only
};

struct DialogEntry {
    unsigned id;
    int x, y, w, h;
    unsigned style;
    std::string caption;
    std::string fontName;
    int fontPointSize;
    std::vector<ControlEntry> controls;
    int line;
};

struct BinaryEntry {
    std::string name;  // bitmaps
    unsigned id;       // icons
    std::vector<unsigned char> bytes;
    int line;
};

struct VersionEntry {
    std::array<unsigned, 4> fileVersion{};
    std::array<unsigned, 4> productVersion{};
    unsigned fileType = 0;
    std::string translation;  // "040904E4"
    std::vector<std::pair<std::string, std::string>> values;
};

struct ResourceScript {
    std::vector<StringEntry> strings;  // sorted by id once parsed
    std::vector<DialogEntry> dialogs;
    std::vector<BinaryEntry> bitmaps;
    std::vector<BinaryEntry> icons;
    bool hasVersion = false;
    VersionEntry version;
};

}  // namespace sif::rcc
