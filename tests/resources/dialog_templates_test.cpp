// The compiled dialog templates, as the window layer finds them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/resources.h"
#include "platform/window_styles.h"

namespace {

using namespace sif;

enum class Kind { OwnerDraw, Label, DefPush, Push, Edit, GroupBox, AutoRadio, ManualCheck, Icon };

// Class and type bits that make each kind of control.
bool IsKind(const res::ControlResource& c, Kind kind) {
    const std::string cls = c.className;
    const unsigned buttonType = c.style & BS_TYPEMASK;
    switch (kind) {
        case Kind::OwnerDraw:
            return cls == "Button" && buttonType == BS_OWNERDRAW;
        case Kind::DefPush:
            return cls == "Button" && buttonType == BS_DEFPUSHBUTTON;
        case Kind::Push:
            return cls == "Button" && buttonType == BS_PUSHBUTTON;
        case Kind::GroupBox:
            return cls == "Button" && buttonType == BS_GROUPBOX;
        case Kind::AutoRadio:
            return cls == "Button" && buttonType == BS_AUTORADIOBUTTON;
        case Kind::ManualCheck:
            return cls == "Button" && buttonType == BS_CHECKBOX;
        case Kind::Label:
            return cls == "Static" && (c.style & SS_TYPEMASK) == SS_LEFT;
        case Kind::Icon:
            return cls == "Static" && (c.style & SS_TYPEMASK) == SS_ICON;
        case Kind::Edit:
            return cls == "Edit" && (c.style & WS_BORDER) && (c.style & ES_AUTOHSCROLL);
    }
    return false;
}

struct Row {
    int id;
    Kind kind;
    bool group, tab;
    const char* text;
    int x, y, w, h;
};

void ExpectControls(const res::DialogResource& d, const std::vector<Row>& rows) {
    ASSERT_EQ(d.controlCount, rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        const res::ControlResource& c = d.controls[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(r.id));
        EXPECT_EQ(c.id, r.id);
        EXPECT_TRUE(IsKind(c, r.kind))
            << c.statement << " " << c.className << " " << std::hex << c.style;
        EXPECT_EQ((c.style & WS_GROUP) != 0, r.group);
        EXPECT_EQ((c.style & WS_TABSTOP) != 0, r.tab);
        EXPECT_EQ(c.style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
        if (r.text) {
            EXPECT_STREQ(c.text, r.text);
        }
        EXPECT_EQ(c.x, r.x);
        EXPECT_EQ(c.y, r.y);
        EXPECT_EQ(c.w, r.w);
        EXPECT_EQ(c.h, r.h);
    }
}

const unsigned kFrame = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

TEST(DialogTemplates, MainDialogHoldsItsControlsInTabOrder) {
    const res::DialogResource* d = FindDialogResource(101);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->caption, "Sifteron");
    EXPECT_EQ(d->x, 30);
    EXPECT_EQ(d->y, 40);
    EXPECT_EQ(d->w, 270);
    EXPECT_EQ(d->h, 138);
    EXPECT_EQ(d->style & kFrame, kFrame);
    EXPECT_TRUE(d->style & WS_VISIBLE);  // modeless: shown as soon as it is created
    EXPECT_FALSE(d->style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_STREQ(d->fontName, "MS Sans Serif");
    EXPECT_EQ(d->fontPointSize, 8);
    using K = Kind;
    ExpectControls(
        *d, {
                {1, K::OwnerDraw, false, true, "", 230, 18, 37, 30},
                {2, K::OwnerDraw, false, true, "", 230, 49, 37, 29},
                {3020, K::Label, true, false, "Quelldatei:", 18, 22, 39, 9},
                {3000, K::DefPush, false, true, "&Info", 183, 33, 41, 14},
                {3001, K::Edit, false, true, "", 18, 33, 157, 12},
                {3021, K::Label, true, false, "Zieldatei:", 18, 53, 49, 9},
                {3002, K::Edit, false, true, "", 18, 64, 157, 12},
                {3022, K::Label, true, true, "Typen:", 21, 88, 23, 9},
                {3024, K::Label, true, false, "Rechts:", 120, 117, 28, 10},
                {3023, K::Label, true, true, "linke Begrenzung:", 21, 117, 65, 8},
                {3003, K::Edit, false, true, "", 88, 114, 16, 13},
                {3004, K::Edit, false, true, "", 152, 114, 16, 14},
                {-1, K::GroupBox, true, false, "", 18, 79, 157, 22},
                {3005, K::AutoRadio, false, false, ".RC/.DLG", 55, 89, 45, 8},
                {3006, K::AutoRadio, false, false, ".TXT/.HTML", 106, 89, 61, 9},
                {3007, K::Push, false, true, "...?...", 125, 18, 50, 13},
                {3008, K::Push, false, true, "...?...", 125, 48, 50, 14},
                {3009, K::Push, false, true, "Ansicht", 75, 18, 50, 13},
                {3010, K::Push, false, true, "Ansicht", 75, 48, 50, 14},
                {3011, K::ManualCheck, true, false, "positiv: ... \"xxxxx\" ...", 183, 86, 79, 8},
                {3012, K::ManualCheck, true, false, "negativ: xxx\" ... \"xxx", 183, 96, 80, 8},
                {-1, K::GroupBox, true, false, "", 179, 79, 87, 49},
                {3013, K::ManualCheck, true, false, "\"xxx\" mehrzeilig", 183, 106, 80, 8},
                {3014, K::ManualCheck, true, false, "xx\"...\"xx mehrzeilig", 183, 116, 80, 8},
                {3016, K::DefPush, false, true, "US/DE", 183, 50, 41, 14},
            });
}

// Rights and contact lines (rows 6 and 7) are our own wording: only checked
// for being there.
TEST(DialogTemplates, GermanInfoBox) {
    const res::DialogResource* d = FindDialogResource(100);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->caption, "Sifteron Information");
    EXPECT_EQ(d->x, 40);
    EXPECT_EQ(d->y, 50);
    EXPECT_EQ(d->w, 241);
    EXPECT_EQ(d->h, 196);
    EXPECT_EQ(d->style & kFrame, kFrame);
    EXPECT_FALSE(d->style & WS_VISIBLE);  // the modal run shows it
    using K = Kind;
    ExpectControls(
        *d,
        {
            {102, K::Icon, false, false, "", 11, 17, 18, 20},
            {-1, K::Label, true, false, "Dieses Programm kann limitierte Stellen aus Text- oder",
             42, 28, 193, 8},
            {IDOK, K::DefPush, true, true, "! BENUTZUNG AUF EIGENE GEFAHR !", 42, 173, 188, 16},
            {-1, K::Label, true, false, "Resourcedateien extrahieren (filtern).", 42, 37, 199, 10},
            {-1, K::Label, true, false, nullptr, 42, 148, 185, 10},
            {-1, K::Label, true, false, nullptr, 42, 157, 80, 8},
            {-1, K::Label, true, false, "Dabei wird die Zieldatei entweder neu erzeugt, oder falls",
             42, 55, 188, 9},
            {-1, K::Label, true, false, "bereits vorhanden, geoeffnet. Der Dateizeiger steht dann",
             42, 64, 199, 9},
            {-1, K::Label, true, false, "am Ende.", 42, 74, 192, 11},
            {-1, K::Label, true, false, "Jetzt koennen auch mehrere Dateien in einem Prozess ge-",
             42, 90, 187, 8},
            {-1, K::Label, true, false, "filtert werden: Dateiname = #LISTE#, es muss dann eine",
             42, 100, 187, 9},
            {-1, K::Label, true, false, "Datei Liste.txt geben in der die Dateinamen in einzelnen",
             42, 109, 187, 10},
            {-1, K::Label, true, false, "Zeilen stehen. Unter MS-DOS kann die Liste mit dem Be-",
             42, 119, 187, 9},
            {-1, K::Label, true, false, "fehl \"DIR /S /B /ON *.txt > liste.txt\" erzeugt werden.",
             42, 129, 196, 8},
            {-1, K::Label, true, false, "nutzung.", 42, 14, 196, 10},
        });
    EXPECT_EQ(d->controls[0].iconId, 102);
    EXPECT_GT(std::string(d->controls[4].text).size(), 0u);
    EXPECT_GT(std::string(d->controls[5].text).size(), 0u);
}

TEST(DialogTemplates, EnglishInfoBox) {
    const res::DialogResource* d = FindDialogResource(104);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->caption, "Sifteron Information");
    EXPECT_EQ(d->h, 190);
    EXPECT_FALSE(d->style & WS_VISIBLE);
    using K = Kind;
    ExpectControls(
        *d,
        {
            {102, K::Icon, false, false, "", 11, 17, 18, 20},
            {-1, K::Label, true, false,
             "This software will help you to extract delimited words out ", 41, 26, 193, 10},
            {IDOK, K::DefPush, true, true, "! USE ON YOUR OWN RISC !", 42, 167, 185, 14},
            {-1, K::Label, true, false, "of text or resource files.", 41, 37, 199, 10},
            {-1, K::Label, true, false, nullptr, 41, 141, 183, 9},
            {-1, K::Label, true, false, nullptr, 41, 151, 80, 8},
            {-1, K::Label, true, false,
             "A target file will be created or if one exists, there is an", 41, 55, 188, 9},
            {-1, K::Label, true, false, "append operation.", 41, 64, 199, 9},
            {-1, K::Label, true, false, "", 41, 74, 192, 11},
            {-1, K::Label, true, false, "You can process multiple files: type in #LISTE# as source",
             41, 84, 190, 9},
            {-1, K::Label, true, false,
             "file. A file called \"liste.txt\" should be available, containing", 41, 95, 190, 9},
            {-1, K::Label, true, false, "the file names to process in each line.", 41, 106, 190,
             10},
            {-1, K::Label, true, false, "( \"DIR /S /B /ON d:\\*.rc > liste.txt\" )", 41, 118, 190,
             9},
        });
}

TEST(DialogTemplates, UnknownTemplateIsNull) {
    EXPECT_EQ(FindDialogResource(102), nullptr);
}

}  // namespace
