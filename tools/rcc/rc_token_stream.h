// A cursor over the tokens of a script, with the small grammar pieces that
// every statement shares: numbers, strings, style expressions, BEGIN/END.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/rcc/rc_lexer.h"

namespace sif::rcc {

// A style expression such as `WS_CHILD | NOT WS_TABSTOP`: bits to set and bits
// to clear from a statement's default style.
struct StyleBits {
    unsigned set = 0;
    unsigned clear = 0;
    unsigned ApplyTo(unsigned defaults) const { return (defaults | set) & ~clear; }
};

class TokenStream {
  public:
    explicit TokenStream(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    const Token& Peek() const { return tokens_[pos_]; }
    const Token& Take() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
    bool AtEnd() const { return Peek().kind == TokenKind::End; }
    int Line() const { return Peek().line; }

    bool IsWord(std::string_view word) const;
    bool TakeWord(std::string_view word);
    void ExpectWord(std::string_view word);
    void ExpectComma();
    bool TakeComma();

    long long Integer();   // [-]number, or a named constant
    std::string String();  // a string literal
    StyleBits Style();     // term { | term }, term = [NOT] integer
    void Begin() { ExpectWord("BEGIN"); }
    bool TakeEnd() { return TakeWord("END"); }

    [[noreturn]] void Fail(const std::string& message) const;
    [[noreturn]] void Unexpected(std::string_view wanted) const;

  private:
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
};

// How a token reads in a message: `FOO`, "text", 12, ',' or end of file.
std::string Describe(const Token& token);

}  // namespace sif::rcc
