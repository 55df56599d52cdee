#include "tools/rcc/rc_lexer.h"

#include <cctype>

#include "tools/rcc/rc_error.h"

namespace sif::rcc {
namespace {

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class Lexer {
  public:
    explicit Lexer(std::string_view source) : src_(source) {}

    std::vector<Token> Run() {
        std::vector<Token> tokens;
        bool lineStart = true;
        while (pos_ < src_.size()) {
            char c = src_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
                lineStart = true;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++pos_;
                continue;
            }
            if (c == '/' && Peek(1) == '/') {
                SkipToLineEnd();
                continue;
            }
            if (c == '/' && Peek(1) == '*') {
                SkipBlockComment();
                continue;
            }
            if (c == '#') {
                if (!lineStart)
                    throw RcError(line_, "unexpected character '#'");
                Directive();
                continue;
            }
            lineStart = false;
            tokens.push_back(Next());
        }
        tokens.push_back(Token{TokenKind::End, "", 0, line_});
        return tokens;
    }

  private:
    char Peek(std::size_t ahead) const {
        return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : '\0';
    }

    void SkipToLineEnd() {
        while (pos_ < src_.size() && src_[pos_] != '\n')
            ++pos_;
    }

    void SkipBlockComment() {
        int startLine = line_;
        pos_ += 2;
        while (pos_ < src_.size() && !(src_[pos_] == '*' && Peek(1) == '/')) {
            if (src_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
        if (pos_ >= src_.size())
            throw RcError(startLine, "unterminated comment");
        pos_ += 2;
    }

    void Directive() {
        std::size_t end = src_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = src_.size();
        std::string text;
        for (char c : src_.substr(pos_, end - pos_)) {
            if (c != ' ' && c != '\t' && c != '\r')
                text += c;
        }
        if (text != "#include<windows.h>") {
            std::string word = "#";
            for (std::size_t i = 1; i < text.size() && IsNameChar(text[i]); ++i)
                word += text[i];
            throw RcError(line_, "unsupported directive " + word);
        }
        pos_ = end;
    }

    Token Next() {
        char c = src_[pos_];
        int line = line_;
        if (c == ',')
            return Single(TokenKind::Comma);
        if (c == '|')
            return Single(TokenKind::Bar);
        if (c == '-')
            return Single(TokenKind::Minus);
        if (c == '"')
            return String();
        if (std::isdigit(static_cast<unsigned char>(c)))
            return Number();
        if (IsNameStart(c)) {
            std::size_t start = pos_;
            while (pos_ < src_.size() && IsNameChar(src_[pos_]))
                ++pos_;
            return Token{TokenKind::Name, std::string(src_.substr(start, pos_ - start)), 0, line};
        }
        throw RcError(line, std::string("unexpected character '") + c + "'");
    }

    Token Single(TokenKind kind) {
        ++pos_;
        return Token{kind, "", 0, line_};
    }

    Token Number() {
        int line = line_;
        long long value = 0;
        int base = 10;
        if (src_[pos_] == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
            base = 16;
            pos_ += 2;
        }
        std::size_t digits = 0;
        while (pos_ < src_.size()) {
            int d = HexDigit(src_[pos_]);
            if (d < 0 || d >= base)
                break;
            value = value * base + d;
            if (value > 0xFFFFFFFFLL)
                throw RcError(line, "number out of range");
            ++pos_;
            ++digits;
        }
        if (digits == 0)
            throw RcError(line, "malformed number");
        while (pos_ < src_.size() &&
               (src_[pos_] == 'L' || src_[pos_] == 'l' || src_[pos_] == 'U' || src_[pos_] == 'u')) {
            ++pos_;
        }
        if (pos_ < src_.size() && IsNameChar(src_[pos_]))
            throw RcError(line, "malformed number");
        return Token{TokenKind::Number, "", value, line};
    }

    Token String() {
        int line = line_;
        std::size_t start = ++pos_;
        while (true) {
            if (pos_ >= src_.size() || src_[pos_] == '\n') {
                throw RcError(line, "unterminated string");
            }
            char c = src_[pos_];
            if (c == '\\') {
                if (pos_ + 1 >= src_.size() || src_[pos_ + 1] == '\n') {
                    throw RcError(line, "unterminated string");
                }
                pos_ += 2;  // keep the escape for the decoder, even before a quote
                continue;
            }
            if (c == '"') {
                if (Peek(1) == '"') {
                    pos_ += 2;
                    continue;
                }
                break;
            }
            ++pos_;
        }
        std::string_view body = src_.substr(start, pos_ - start);
        ++pos_;
        return Token{TokenKind::String, DecodeStringBody(body, line), 0, line};
    }

    std::string_view src_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

std::vector<Token> Tokenize(std::string_view source) {
    return Lexer(source).Run();
}

std::string DecodeStringBody(std::string_view body, int line) {
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '"') {
            out += '"';  // the lexer only lets doubled quotes through
            ++i;
            continue;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        char e = i + 1 < body.size() ? body[i + 1] : '\0';
        ++i;
        switch (e) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 'x': {
                int hi = i + 1 < body.size() ? HexDigit(body[i + 1]) : -1;
                int lo = i + 2 < body.size() ? HexDigit(body[i + 2]) : -1;
                if (hi < 0 || lo < 0)
                    throw RcError(line, "\\x needs two hex digits");
                if (hi == 0 && lo == 0)
                    throw RcError(line, "\\x00 would end the string");
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                throw RcError(line,
                              std::string("unsupported escape \\") + (e ? std::string(1, e) : ""));
        }
    }
    return out;
}

}  // namespace sif::rcc
