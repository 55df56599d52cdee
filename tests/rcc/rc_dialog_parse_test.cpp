// How the compiler normalises control statements: window class and the full
// style bits a resource compiler would store.
#include <gtest/gtest.h>

#include <string>

#include "platform/window_styles.h"
#include "tools/rcc/rc_error.h"
#include "tools/rcc/rc_parser.h"

namespace {

using namespace sif;
using sif::rcc::ParseScript;
using sif::rcc::RcError;

sif::rcc::ControlEntry OneControl(const std::string& statement) {
    auto script = ParseScript("7 DIALOG 0, 0, 100, 50\nBEGIN\n" + statement + "\nEND\n", ".");
    EXPECT_EQ(script.dialogs.size(), 1u);
    EXPECT_EQ(script.dialogs.at(0).controls.size(), 1u);
    return script.dialogs.at(0).controls.at(0);
}

constexpr unsigned kChild = WS_CHILD | WS_VISIBLE;

struct Normalised {
    const char* statement;
    const char* className;
    unsigned style;
};

TEST(RcDialogParse, StatementsGetTheirClassAndDefaultStyles) {
    const Normalised cases[] = {
        {"LTEXT \"a\", 5, 1, 2, 3, 4", "Static", kChild | SS_LEFT | WS_GROUP},
        // A given style adds to the defaults; NOT takes a default away.
        {"LTEXT \"a\", 5, 1, 2, 3, 4, WS_TABSTOP", "Static", kChild | WS_GROUP | WS_TABSTOP},
        {"LTEXT \"a\", 5, 1, 2, 3, 4, NOT WS_GROUP", "Static", kChild},
        {"PUSHBUTTON \"a\", 5, 1, 2, 3, 4", "Button", kChild | BS_PUSHBUTTON | WS_TABSTOP},
        {"DEFPUSHBUTTON \"a\", 5, 1, 2, 3, 4, WS_GROUP", "Button",
         kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {"GROUPBOX \"\", -1, 1, 2, 3, 4", "Button", kChild | BS_GROUPBOX},
        {"EDITTEXT 5, 1, 2, 3, 4, ES_AUTOHSCROLL", "Edit",
         kChild | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {"ICON 102, 5, 1, 2", "Static", kChild | SS_ICON},
        // CONTROL takes its style as given, plus child and visible.
        {"CONTROL \"\", 1, \"Button\", BS_OWNERDRAW | WS_TABSTOP, 1, 2, 3, 4", "Button",
         kChild | BS_OWNERDRAW | WS_TABSTOP},
        {"CONTROL \"a\", 5, \"button\", BS_CHECKBOX | WS_GROUP, 1, 2, 3, 4", "Button",
         kChild | BS_CHECKBOX | WS_GROUP},
        {"CONTROL \"a\", 5, \"Edit\", NOT WS_VISIBLE, 1, 2, 3, 4", "Edit", WS_CHILD},
    };
    for (const Normalised& c : cases) {
        SCOPED_TRACE(c.statement);
        auto control = OneControl(c.statement);
        EXPECT_EQ(control.className, c.className);
        EXPECT_EQ(control.style, c.style) << std::hex << control.style;
    }
}

TEST(RcDialogParse, ControlFieldsLandInTheirPlaces) {
    auto control = OneControl("CONTROL \"t\", 0xFFFF, \"Static\", 0, -3, 4, 50, 60, 0x20");
    EXPECT_EQ(control.statement, "CONTROL");
    EXPECT_EQ(control.text, "t");
    EXPECT_EQ(control.id, -1);  // 0xFFFF is the 16-bit "no id"
    EXPECT_EQ(control.x, -3);
    EXPECT_EQ(control.y, 4);
    EXPECT_EQ(control.w, 50);
    EXPECT_EQ(control.h, 60);
    EXPECT_EQ(control.exStyle, 0x20u);

    auto icon = OneControl("ICON 102, 9, 11, 17, 18, 20");
    EXPECT_EQ(icon.iconId, 102);
    EXPECT_EQ(icon.id, 9);
    EXPECT_EQ(icon.text, "");
    EXPECT_EQ(icon.w, 18);
}

TEST(RcDialogParse, CaptionAndFontBringTheirStyleBits) {
    auto script = ParseScript(
        "7 DIALOG 1, 2, 3, 4\nSTYLE WS_POPUP\nCAPTION \"c\"\nFONT 8, \"F\"\nBEGIN\nEND\n"
        "8 DIALOG 1, 2, 3, 4\nBEGIN\nEND\n",
        ".");
    ASSERT_EQ(script.dialogs.size(), 2u);
    EXPECT_EQ(script.dialogs[0].style, WS_POPUP | WS_CAPTION | DS_SETFONT);
    EXPECT_EQ(script.dialogs[0].fontName, "F");
    EXPECT_EQ(script.dialogs[0].fontPointSize, 8);
    EXPECT_EQ(script.dialogs[1].style, WS_POPUP | WS_BORDER | WS_SYSMENU);
}

TEST(RcDialogParse, RefusesWhatItWouldGetWrong) {
    const char* bodies[] = {
        "7 DIALOG 0, 0, 9, 9\nMENU 3\nBEGIN\nEND\n",
        "7 DIALOG 0, 0, 9, 9\nCAPTION \"a\"\nCAPTION \"b\"\nBEGIN\nEND\n",
        "7 DIALOG 0, 0, 9, 9\nBEGIN\nRTEXT \"a\", 1, 1, 1, 1, 1\nEND\n",
        "7 DIALOG 0, 0, 9, 9\nBEGIN\nCONTROL \"a\", 1, \"SysListView32\", 0, 1, 1, 1, 1\nEND\n",
        "7 DIALOG 0, 0, 9, 9\nBEGIN\nLTEXT \"a\", 1, 1, 1, 1\nEND\n",
        "7 DIALOG 0, 0, 9, 9\nBEGIN\nLTEXT \"a\", 70000, 1, 1, 1, 1\nEND\n",
        "7 DIALOG 0, 0, 9, 9\nBEGIN\nLTEXT \"a\", 1, 1, 1, 1, 1, WS_BOGUS\nEND\n",
        "7 DIALOG 0, 0, 9, 9\nBEGIN\nEND\n7 DIALOG 0, 0, 9, 9\nBEGIN\nEND\n",
        "7 DIALOG 0, 0, 9, 9\nBEGIN\nLTEXT \"a\", 1, 1, 1, 1, 1\n",
    };
    for (const char* body : bodies) {
        SCOPED_TRACE(body);
        EXPECT_THROW(ParseScript(body, "."), RcError);
    }
}

}  // namespace
