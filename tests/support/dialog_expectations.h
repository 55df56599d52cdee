// What the dialogs show, in dialog units and texts, for the window tests of
// every backend (headless, Qt, Win32) to check against one table.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/control_ids.h"

namespace sif::test {

// A control of template 101 in template order; id -1 are the group boxes.
struct TemplateControl {
    int id, x, y, w, h;
};

inline constexpr int kMainDialogWidth = 270;
inline constexpr int kMainDialogHeight = 138;
inline constexpr TemplateControl kMainDialogControls[] = {
    {1, 230, 18, 37, 30},    {2, 230, 49, 37, 29},    {3020, 18, 22, 39, 9},
    {3000, 183, 33, 41, 14}, {3001, 18, 33, 157, 12}, {3021, 18, 53, 49, 9},
    {3002, 18, 64, 157, 12}, {3022, 21, 88, 23, 9},   {3024, 120, 117, 28, 10},
    {3023, 21, 117, 65, 8},  {3003, 88, 114, 16, 13}, {3004, 152, 114, 16, 14},
    {-1, 18, 79, 157, 22},   {3005, 55, 89, 45, 8},   {3006, 106, 89, 61, 9},
    {3007, 125, 18, 50, 13}, {3008, 125, 48, 50, 14}, {3009, 75, 18, 50, 13},
    {3010, 75, 48, 50, 14},  {3011, 183, 86, 79, 8},  {3012, 183, 96, 80, 8},
    {-1, 179, 79, 87, 49},   {3013, 183, 106, 80, 8}, {3014, 183, 116, 80, 8},
    {3016, 183, 50, 41, 14},
};
// OK and Cancel take the size of their up bitmap.
inline constexpr int kBitmapButtonWidth = 64;
inline constexpr int kBitmapButtonHeight = 40;

using LabelTable = std::vector<std::pair<int, const char*>>;

// The labels that one language toggle switches to English.
inline const LabelTable kEnglishLabels = {
    {ui::IDC_LABEL_SOURCE, "source file:"},
    {ui::IDC_LABEL_TARGET, "target file:"},
    {ui::IDC_LABEL_KIND, "types"},
    {ui::IDC_LABEL_LEFT, "left delimiter:"},
    {ui::IDC_LABEL_RIGHT, "right:"},
    {ui::IDC_MODE_MULTI_POSITIVE, "\"xxx\" multiline"},
    {ui::IDC_MODE_MULTI_NEGATIVE, "xx\"...\"xx multiline"},
    {ui::IDC_VIEW_SOURCE, "View"},
    {ui::IDC_VIEW_TARGET, "View"},
};

// The same labels after a second toggle: German from the string tables.
inline const LabelTable kGermanToggledLabels = {
    {ui::IDC_LABEL_SOURCE, "Quelldatei:"},
    {ui::IDC_LABEL_TARGET, "Zieldatei:"},
    {ui::IDC_LABEL_KIND, "Typen"},  // the template has "Typen:"
    {ui::IDC_LABEL_LEFT, "Linke Begrenzung:"},
    {ui::IDC_LABEL_RIGHT, "Rechts:"},
    {ui::IDC_MODE_MULTI_POSITIVE, "\"xxx\" mehrzeilig"},
    {ui::IDC_MODE_MULTI_NEGATIVE, "xx\"...\"xx mehrzeilig"},
    {ui::IDC_VIEW_SOURCE, "Ansicht"},
    {ui::IDC_VIEW_TARGET, "Ansicht"},
};

// Template 101's labels, shown until the first toggle.
inline const LabelTable kTemplateLabels = {
    {ui::IDC_LABEL_SOURCE, "Quelldatei:"},
    {ui::IDC_LABEL_TARGET, "Zieldatei:"},
    {ui::IDC_LABEL_KIND, "Typen:"},
    {ui::IDC_LABEL_LEFT, "linke Begrenzung:"},
    {ui::IDC_LABEL_RIGHT, "Rechts:"},
    {ui::IDC_MODE_POSITIVE, "positiv: ... \"xxxxx\" ..."},
    {ui::IDC_MODE_NEGATIVE, "negativ: xxx\" ... \"xxx"},
    {ui::IDC_MODE_MULTI_POSITIVE, "\"xxx\" mehrzeilig"},
    {ui::IDC_MODE_MULTI_NEGATIVE, "xx\"...\"xx mehrzeilig"},
    {ui::IDC_VIEW_SOURCE, "Ansicht"},
    {ui::IDC_VIEW_TARGET, "Ansicht"},
    {ui::IDC_BROWSE_SOURCE, "...?..."},
    {ui::IDC_INFO, "&Info"},
    {ui::IDC_LANGUAGE, "US/DE"},
    {ui::IDC_KIND_RESOURCE, ".RC/.DLG"},
    {ui::IDC_KIND_TEXT, ".TXT/.HTML"},
};

// Template 101's edit fields and the labels beside them, which name them.
inline const std::vector<std::pair<int, int>> kFieldLabels = {
    {ui::IDC_SOURCE, ui::IDC_LABEL_SOURCE},
    {ui::IDC_TARGET, ui::IDC_LABEL_TARGET},
    {ui::IDC_LEFT, ui::IDC_LABEL_LEFT},
    {ui::IDC_RIGHT, ui::IDC_LABEL_RIGHT},
};

// The texts of the information boxes in template order, icon left out.
inline const std::vector<std::string> kInfoGermanLines = {
    "Dieses Programm kann limitierte Stellen aus Text- oder",
    "! BENUTZUNG AUF EIGENE GEFAHR !",
    "Resourcedateien extrahieren (filtern).",
    "(c) 2026 Sifteron-Entwickler",
    "Kontakt: s. README",
    "Dabei wird die Zieldatei entweder neu erzeugt, oder falls",
    "bereits vorhanden, geoeffnet. Der Dateizeiger steht dann",
    "am Ende.",
    "Jetzt koennen auch mehrere Dateien in einem Prozess ge-",
    "filtert werden: Dateiname = #LISTE#, es muss dann eine",
    "Datei Liste.txt geben in der die Dateinamen in einzelnen",
    "Zeilen stehen. Unter MS-DOS kann die Liste mit dem Be-",
    "fehl \"DIR /S /B /ON *.txt > liste.txt\" erzeugt werden.",
    "nutzung.",
};

inline const std::vector<std::string> kInfoEnglishLines = {
    "This software will help you to extract delimited words out ",
    "! USE ON YOUR OWN RISC !",
    "of text or resource files.",
    "(c) 2026 Sifteron developers",
    "Contact: see README",
    "A target file will be created or if one exists, there is an",
    "append operation.",
    "",
    "You can process multiple files: type in #LISTE# as source",
    "file. A file called \"liste.txt\" should be available, containing",
    "the file names to process in each line.",
    "( \"DIR /S /B /ON d:\\*.rc > liste.txt\" )",
};
// Template 100 and 104: width, height and the icon's place, in dialog units.
inline constexpr int kInfoWidth = 241;
inline constexpr int kInfoGermanHeight = 196;
inline constexpr int kInfoEnglishHeight = 190;
inline constexpr int kInfoIconX = 11;
inline constexpr int kInfoIconY = 17;

}  // namespace sif::test
