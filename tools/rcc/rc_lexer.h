// Splits a resource script into tokens. Only the subset of the .rc language
// that res/sifteron.rc uses is understood; anything else is an RcError.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sif::rcc {

enum class TokenKind { Name, Number, String, Comma, Bar, Minus, End };

struct Token {
    TokenKind kind;
    std::string text;  // Name: as written; String: the decoded bytes
    long long value;   // Number only
    int line;
};

// Comments (// and /* */) are skipped. The only preprocessor line accepted
// is `#include <windows.h>`: its constants are built in.
std::vector<Token> Tokenize(std::string_view source);

// Decodes the body of a string literal (without its quotes): "" stands for
// one quote; \\ \t \n \r and \xHH are the escapes understood.
std::string DecodeStringBody(std::string_view body, int line);

}  // namespace sif::rcc
