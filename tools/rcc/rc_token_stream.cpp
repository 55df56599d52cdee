#include "tools/rcc/rc_token_stream.h"

#include "tools/rcc/rc_error.h"
#include "tools/rcc/rc_symbols.h"

namespace sif::rcc {

std::string Describe(const Token& token) {
    switch (token.kind) {
        case TokenKind::Name:
            return token.text;
        case TokenKind::Number:
            return std::to_string(token.value);
        case TokenKind::String:
            return "\"" + token.text + "\"";
        case TokenKind::Comma:
            return "','";
        case TokenKind::Bar:
            return "'|'";
        case TokenKind::Minus:
            return "'-'";
        case TokenKind::End:
            return "end of file";
    }
    return "?";
}

bool TokenStream::IsWord(std::string_view word) const {
    return Peek().kind == TokenKind::Name && Peek().text == word;
}

bool TokenStream::TakeWord(std::string_view word) {
    if (!IsWord(word))
        return false;
    Take();
    return true;
}

void TokenStream::ExpectWord(std::string_view word) {
    if (!TakeWord(word))
        Unexpected(word);
}

bool TokenStream::TakeComma() {
    if (Peek().kind != TokenKind::Comma)
        return false;
    Take();
    return true;
}

void TokenStream::ExpectComma() {
    if (!TakeComma())
        Unexpected("','");
}

long long TokenStream::Integer() {
    bool negative = false;
    if (Peek().kind == TokenKind::Minus) {
        Take();
        negative = true;
    }
    const Token& token = Peek();
    long long value = 0;
    if (token.kind == TokenKind::Number) {
        value = token.value;
    } else if (token.kind == TokenKind::Name) {
        auto symbol = LookupSymbol(token.text);
        if (!symbol)
            Fail("unknown name " + token.text);
        value = *symbol;
    } else {
        Unexpected("a number");
    }
    Take();
    return negative ? -value : value;
}

std::string TokenStream::String() {
    if (Peek().kind != TokenKind::String)
        Unexpected("a string");
    return Take().text;
}

StyleBits TokenStream::Style() {
    StyleBits bits;
    do {
        bool negate = TakeWord("NOT");
        auto value = static_cast<unsigned>(Integer());
        (negate ? bits.clear : bits.set) |= value;
        if (Peek().kind != TokenKind::Bar)
            break;
        Take();
    } while (true);
    return bits;
}

void TokenStream::Fail(const std::string& message) const {
    throw RcError(Line(), message);
}

void TokenStream::Unexpected(std::string_view wanted) const {
    Fail("expected " + std::string(wanted) + ", found " + Describe(Peek()));
}

}  // namespace sif::rcc
