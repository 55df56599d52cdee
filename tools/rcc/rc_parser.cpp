#include "tools/rcc/rc_parser.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "tools/rcc/rc_error.h"
#include "tools/rcc/rc_statements.h"
#include "tools/rcc/rc_token_stream.h"

namespace sif::rcc {
namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::vector<unsigned char> ReadBinary(const std::filesystem::path& file, int line) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw RcError(line, "cannot read " + file.string());
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void CheckBitmap(const std::vector<unsigned char>& bytes, const std::string& file, int line) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        throw RcError(line, file + " is not a BMP file");
    }
}

void CheckIcon(const std::vector<unsigned char>& bytes, const std::string& file, int line) {
    if (bytes.size() < 22 || bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 1 || bytes[3] != 0) {
        throw RcError(line, file + " is not an ICO file");
    }
}

unsigned ResourceId(const Token& token) {
    if (token.value < 1 || token.value > 0xFFFF)
        throw RcError(token.line, "id out of range");
    return static_cast<unsigned>(token.value);
}

class ScriptParser {
  public:
    ScriptParser(std::string_view source, std::filesystem::path baseDir)
        : in_(Tokenize(source)), baseDir_(std::move(baseDir)) {}

    ResourceScript Run() {
        while (!in_.AtEnd())
            Statement();
        std::stable_sort(script_.strings.begin(), script_.strings.end(),
                         [](const StringEntry& a, const StringEntry& b) { return a.id < b.id; });
        for (std::size_t i = 1; i < script_.strings.size(); ++i) {
            if (script_.strings[i].id == script_.strings[i - 1].id) {
                throw RcError(script_.strings[i].line,
                              "duplicate string id " + std::to_string(script_.strings[i].id));
            }
        }
        return std::move(script_);
    }

  private:
    void Statement() {
        if (in_.TakeWord("STRINGTABLE")) {
            ParseStringTable(in_, script_);
            return;
        }
        Token head = in_.Take();
        const Token& type = in_.Peek();
        if (head.kind != TokenKind::Name && head.kind != TokenKind::Number) {
            throw RcError(head.line, "unexpected " + Describe(head));
        }
        if (type.kind != TokenKind::Name) {
            throw RcError(head.line, "unsupported statement " + Describe(head));
        }
        std::string typeName = in_.Take().text;
        if (typeName == "BITMAP")
            return Bitmap(head);
        if (typeName == "ICON")
            return Icon(head);
        if (typeName == "DIALOG")
            return Dialog(head);
        if (typeName == "VERSIONINFO")
            return Version(head);
        throw RcError(head.line, "unsupported statement " + typeName);
    }

    void Bitmap(const Token& head) {
        if (head.kind != TokenKind::Name)
            throw RcError(head.line, "a bitmap needs a name");
        for (const auto& b : script_.bitmaps) {
            if (SameNameIgnoringCase(b.name, head.text)) {
                throw RcError(head.line, "duplicate bitmap " + head.text);
            }
        }
        std::string file = in_.String();
        auto bytes = ReadBinary(baseDir_ / file, head.line);
        CheckBitmap(bytes, file, head.line);
        script_.bitmaps.push_back(BinaryEntry{head.text, 0, std::move(bytes), head.line});
    }

    void Icon(const Token& head) {
        if (head.kind != TokenKind::Number)
            throw RcError(head.line, "an icon needs a number");
        unsigned id = ResourceId(head);
        for (const auto& i : script_.icons) {
            if (i.id == id)
                throw RcError(head.line, "duplicate icon " + std::to_string(id));
        }
        std::string file = in_.String();
        auto bytes = ReadBinary(baseDir_ / file, head.line);
        CheckIcon(bytes, file, head.line);
        script_.icons.push_back(BinaryEntry{"", id, std::move(bytes), head.line});
    }

    void Dialog(const Token& head) {
        if (head.kind != TokenKind::Number)
            throw RcError(head.line, "a dialog needs a number");
        unsigned id = ResourceId(head);
        for (const auto& d : script_.dialogs) {
            if (d.id == id)
                throw RcError(head.line, "duplicate dialog " + std::to_string(id));
        }
        script_.dialogs.push_back(ParseDialog(in_, id, head.line));
    }

    void Version(const Token& head) {
        if (head.kind != TokenKind::Number || head.value != 1) {
            throw RcError(head.line, "the version record must be VERSIONINFO 1");
        }
        if (script_.hasVersion)
            throw RcError(head.line, "duplicate VERSIONINFO");
        script_.version = ParseVersionInfo(in_);
        script_.hasVersion = true;
    }

    TokenStream in_;
    std::filesystem::path baseDir_;
    ResourceScript script_;
};

}  // namespace

void ParseStringTable(TokenStream& in, ResourceScript& script) {
    in.Begin();
    while (!in.TakeEnd()) {
        int line = in.Line();
        long long id = in.Integer();
        if (id < 0 || id > 0xFFFF)
            in.Fail("string id out of range");
        in.TakeComma();  // the comma between id and text is optional in .rc syntax
        script.strings.push_back(StringEntry{static_cast<unsigned>(id), in.String(), line});
    }
}

ResourceScript ParseScript(std::string_view source, const std::filesystem::path& baseDir) {
    return ScriptParser(source, baseDir).Run();
}

}  // namespace sif::rcc
