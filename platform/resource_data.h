// The program's compiled resources: what the build-time resource compiler
// (tools/rcc) turns res/sifteron.rc into. Toolkit-free plain data.
#pragma once

#include <cstddef>

namespace sif::res {

struct StringResource {
    unsigned id;
    const char* text;  // single-byte (Windows-1252), NUL-terminated
};

// One control of a dialog template, normalised from its statement
// (LTEXT, EDITTEXT, CONTROL, ...) to a window class and style bits.
struct ControlResource {
    const char* statement;  // the statement as written: "LTEXT", "CONTROL", ...
    const char* className;  // "Button", "Edit", "Static"
    const char* text;       // "" when the statement has none
    int id;                 // -1 for IDC_STATIC
    unsigned style;         // WS_* | BS_*/ES_*/SS_* bits, as the resource compiler sets them
    unsigned exStyle;
    int x, y, w, h;  // dialog units
    int iconId;      // ICON statements: the icon resource; else 0
};

struct DialogResource {
    unsigned id;
    int x, y, w, h;  // dialog units
    unsigned style;
    const char* caption;
    const char* fontName;
    int fontPointSize;
    const ControlResource* controls;
    std::size_t controlCount;
};

// A bitmap (BMP file bytes) or an icon (ICO file bytes).
struct BinaryResource {
    const char* name;  // bitmaps: the name ("Up"); icons: nullptr
    unsigned id;       // icons: the id (102); bitmaps: 0
    const unsigned char* data;
    std::size_t size;
};

struct VersionValue {
    const char* key;
    const char* value;
};

struct VersionResource {
    unsigned fileVersion[4];
    unsigned productVersion[4];
    const char* translation;  // "040904E4"
    const VersionValue* values;
    std::size_t valueCount;
};

struct ResourceBundle {
    const StringResource* strings;
    std::size_t stringCount;
    const DialogResource* dialogs;
    std::size_t dialogCount;
    const BinaryResource* bitmaps;
    std::size_t bitmapCount;
    const BinaryResource* icons;
    std::size_t iconCount;
    const VersionResource* version;
};

// Defined by the generated resources source.
extern const ResourceBundle kBundle;

}  // namespace sif::res
