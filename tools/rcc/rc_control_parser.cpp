// Control statements of a dialog body, normalised the way a resource
// compiler stores them: a window class and the full style bits.
#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include "platform/window_styles.h"
#include "tools/rcc/rc_error.h"
#include "tools/rcc/rc_statements.h"

namespace sif::rcc {
namespace {

constexpr unsigned kChild = WS_CHILD | WS_VISIBLE;

enum class Shape {
    Text,     // KW "text", id, x, y, w, h [, style [, exstyle]]
    NoText,   // KW id, x, y, w, h [, style [, exstyle]]
    Icon,     // KW icon, id, x, y [, w, h [, style [, exstyle]]]
    Generic,  // CONTROL "text", id, "class", style, x, y, w, h [, exstyle]
};

struct Statement {
    std::string_view keyword;
    Shape shape;
    const char* className;
    unsigned defaultStyle;
};

constexpr std::array kStatements = {
    Statement{"LTEXT", Shape::Text, "Static", SS_LEFT | WS_GROUP},
    Statement{"PUSHBUTTON", Shape::Text, "Button", BS_PUSHBUTTON | WS_TABSTOP},
    Statement{"DEFPUSHBUTTON", Shape::Text, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP},
    Statement{"GROUPBOX", Shape::Text, "Button", BS_GROUPBOX},
    Statement{"EDITTEXT", Shape::NoText, "Edit", ES_LEFT | WS_BORDER | WS_TABSTOP},
    Statement{"ICON", Shape::Icon, "Static", SS_ICON},
    Statement{"CONTROL", Shape::Generic, nullptr, 0},
};

constexpr std::array<const char*, 3> kClasses = {"Button", "Edit", "Static"};

const char* KnownClass(const std::string& name) {
    for (const char* known : kClasses) {
        std::string_view k = known;
        if (std::equal(k.begin(), k.end(), name.begin(), name.end(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            })) {
            return known;
        }
    }
    return nullptr;
}

int Coordinate(TokenStream& in) {
    long long value = in.Integer();
    if (value < -32768 || value > 32767)
        in.Fail("coordinate out of range");
    return static_cast<int>(value);
}

int ControlId(TokenStream& in) {
    long long value = in.Integer();
    if (value < -1 || value > 0xFFFF)
        in.Fail("control id out of range");
    // Control ids are 16-bit: 0xFFFF and -1 are the same "no id".
    return value == 0xFFFF ? -1 : static_cast<int>(value);
}

void Rect(TokenStream& in, ControlEntry& c) {
    c.x = Coordinate(in);
    in.ExpectComma();
    c.y = Coordinate(in);
    in.ExpectComma();
    c.w = Coordinate(in);
    in.ExpectComma();
    c.h = Coordinate(in);
}

// The optional trailing ", style [, exstyle]", or ", exstyle" alone when the
// style came earlier in the statement.
void TrailingStyles(TokenStream& in, ControlEntry& c, bool styleAllowed) {
    if (!in.TakeComma())
        return;
    if (styleAllowed) {
        c.style = in.Style().ApplyTo(c.style);
        if (!in.TakeComma())
            return;
    }
    c.exStyle = in.Style().ApplyTo(0);
}

}  // namespace

ControlEntry ParseControl(TokenStream& in) {
    const Token& head = in.Peek();
    const Statement* statement = nullptr;
    if (head.kind == TokenKind::Name) {
        for (const Statement& s : kStatements) {
            if (s.keyword == head.text)
                statement = &s;
        }
    }
    if (statement == nullptr)
        in.Fail("unsupported statement " + Describe(head));
    in.Take();

    ControlEntry c{};
    c.statement = std::string(statement->keyword);
    c.className = statement->className ? statement->className : "";
    c.style = kChild | statement->defaultStyle;
    switch (statement->shape) {
        case Shape::Text:
            c.text = in.String();
            in.ExpectComma();
            c.id = ControlId(in);
            in.ExpectComma();
            Rect(in, c);
            TrailingStyles(in, c, true);
            break;
        case Shape::NoText:
            c.id = ControlId(in);
            in.ExpectComma();
            Rect(in, c);
            TrailingStyles(in, c, true);
            break;
        case Shape::Icon: {
            long long icon = in.Integer();
            if (icon < 1 || icon > 0xFFFF)
                in.Fail("icon id out of range");
            c.iconId = static_cast<int>(icon);
            in.ExpectComma();
            c.id = ControlId(in);
            in.ExpectComma();
            c.x = Coordinate(in);
            in.ExpectComma();
            c.y = Coordinate(in);
            if (in.TakeComma()) {
                c.w = Coordinate(in);
                in.ExpectComma();
                c.h = Coordinate(in);
                TrailingStyles(in, c, true);
            }
            break;
        }
        case Shape::Generic: {
            c.text = in.String();
            in.ExpectComma();
            c.id = ControlId(in);
            in.ExpectComma();
            int classLine = in.Line();
            std::string className = in.String();
            const char* known = KnownClass(className);
            if (known == nullptr) {
                throw RcError(classLine, "unsupported control class \"" + className + "\"");
            }
            c.className = known;
            in.ExpectComma();
            c.style = in.Style().ApplyTo(kChild);
            in.ExpectComma();
            Rect(in, c);
            TrailingStyles(in, c, false);
            break;
        }
    }
    return c;
}

}  // namespace sif::rcc
