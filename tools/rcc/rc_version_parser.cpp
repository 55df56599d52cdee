// VERSIONINFO: the fixed part (FILEVERSION, PRODUCTVERSION, FILE* flags), one
// StringFileInfo language block and the VarFileInfo translation naming it.
#include <cctype>
#include <cstdio>
#include <string>

#include "tools/rcc/rc_error.h"
#include "tools/rcc/rc_statements.h"

namespace sif::rcc {
namespace {

std::array<unsigned, 4> Quad(TokenStream& in) {
    std::array<unsigned, 4> quad{};
    for (std::size_t i = 0; i < quad.size(); ++i) {
        if (i > 0)
            in.ExpectComma();
        long long part = in.Integer();
        if (part < 0 || part > 0xFFFF)
            in.Fail("version part out of range");
        quad[i] = static_cast<unsigned>(part);
    }
    return quad;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void FixedPart(TokenStream& in, VersionEntry& v) {
    while (!in.IsWord("BEGIN")) {
        if (in.Peek().kind != TokenKind::Name)
            in.Unexpected("BEGIN");
        const std::string word = in.Peek().text;
        if (word == "FILEVERSION") {
            in.Take();
            v.fileVersion = Quad(in);
        } else if (word == "PRODUCTVERSION") {
            in.Take();
            v.productVersion = Quad(in);
        } else if (word == "FILETYPE") {
            in.Take();
            v.fileType = in.Style().ApplyTo(0);
        } else if (word == "FILEFLAGSMASK" || word == "FILEFLAGS" || word == "FILEOS" ||
                   word == "FILESUBTYPE") {
            in.Take();
            in.Style();  // kept by a Windows build only; the bundle has no use for them
        } else {
            in.Fail("unsupported statement " + word);
        }
    }
}

void StringFileInfo(TokenStream& in, VersionEntry& v) {
    in.Begin();
    in.ExpectWord("BLOCK");
    v.translation = Upper(in.String());
    if (v.translation.size() != 8 ||
        v.translation.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
        in.Fail("a language block is named by 8 hex digits");
    }
    in.Begin();
    while (!in.TakeEnd()) {
        in.ExpectWord("VALUE");
        std::string key = in.String();
        in.ExpectComma();
        std::string value = in.String();
        for (const auto& [k, unused] : v.values) {
            if (k == key)
                in.Fail("duplicate VALUE " + key);
        }
        v.values.emplace_back(std::move(key), std::move(value));
    }
    if (!in.TakeEnd()) {
        in.Fail(in.IsWord("BLOCK") ? "only one language block is supported" : "expected END");
    }
}

std::string VarFileInfo(TokenStream& in) {
    in.Begin();
    in.ExpectWord("VALUE");
    if (in.String() != "Translation")
        in.Fail("VarFileInfo holds only Translation");
    in.ExpectComma();
    long long language = in.Integer();
    in.ExpectComma();
    long long codePage = in.Integer();
    if (language < 0 || language > 0xFFFF || codePage < 0 || codePage > 0xFFFF) {
        in.Fail("translation out of range");
    }
    in.ExpectWord("END");
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04X%04X", static_cast<unsigned>(language),
                  static_cast<unsigned>(codePage));
    return buf;
}

}  // namespace

VersionEntry ParseVersionInfo(TokenStream& in) {
    VersionEntry v;
    FixedPart(in, v);
    in.Begin();
    bool haveStrings = false;
    std::string translation;
    int translationLine = 0;
    while (!in.TakeEnd()) {
        in.ExpectWord("BLOCK");
        int line = in.Line();
        std::string name = in.String();
        if (name == "StringFileInfo" && !haveStrings) {
            StringFileInfo(in, v);
            haveStrings = true;
        } else if (name == "VarFileInfo" && translation.empty()) {
            translationLine = line;
            translation = VarFileInfo(in);
        } else {
            throw RcError(line, "unsupported BLOCK \"" + name + "\"");
        }
    }
    if (!haveStrings || translation.empty()) {
        in.Fail("VERSIONINFO needs a StringFileInfo and a VarFileInfo block");
    }
    if (translation != v.translation) {
        throw RcError(translationLine,
                      "Translation " + translation + " does not name the block " + v.translation);
    }
    return v;
}

}  // namespace sif::rcc
