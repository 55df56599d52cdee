// DIALOG id x, y, w, h  [STYLE ..] [CAPTION ".."] [FONT size, ".."]  BEGIN controls END
#include <string>

#include "platform/window_styles.h"
#include "tools/rcc/rc_statements.h"

namespace sif::rcc {
namespace {

int Coordinate(TokenStream& in) {
    long long value = in.Integer();
    if (value < -32768 || value > 32767)
        in.Fail("coordinate out of range");
    return static_cast<int>(value);
}

}  // namespace

DialogEntry ParseDialog(TokenStream& in, unsigned id, int line) {
    DialogEntry dialog{};
    dialog.id = id;
    dialog.line = line;
    dialog.x = Coordinate(in);
    in.ExpectComma();
    dialog.y = Coordinate(in);
    in.ExpectComma();
    dialog.w = Coordinate(in);
    in.ExpectComma();
    dialog.h = Coordinate(in);

    // Without a STYLE statement a resource compiler gives this default.
    unsigned style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    bool haveStyle = false, haveCaption = false, haveFont = false;
    while (!in.IsWord("BEGIN")) {
        if (in.Peek().kind != TokenKind::Name)
            in.Unexpected("BEGIN");
        const std::string word = in.Peek().text;
        bool* seen = word == "STYLE"     ? &haveStyle
                     : word == "CAPTION" ? &haveCaption
                     : word == "FONT"    ? &haveFont
                                         : nullptr;
        if (seen == nullptr)
            in.Fail("unsupported statement " + word);
        if (*seen)
            in.Fail("duplicate " + word);
        *seen = true;
        in.Take();
        if (word == "STYLE") {
            style = in.Style().ApplyTo(0);
        } else if (word == "CAPTION") {
            dialog.caption = in.String();
        } else {
            long long size = in.Integer();
            if (size < 1 || size > 72)
                in.Fail("font size out of range");
            dialog.fontPointSize = static_cast<int>(size);
            in.ExpectComma();
            dialog.fontName = in.String();
        }
    }
    // As a resource compiler does: a caption brings its title bar, a font
    // statement the flag that tells the dialog manager to read it.
    if (haveCaption)
        style |= WS_CAPTION;
    if (haveFont)
        style |= DS_SETFONT;
    dialog.style = style;

    in.Begin();
    while (!in.TakeEnd())
        dialog.controls.push_back(ParseControl(in));
    return dialog;
}

}  // namespace sif::rcc
