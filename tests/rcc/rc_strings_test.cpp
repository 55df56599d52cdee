// String literals and STRINGTABLE entries as the compiler reads them.
#include <gtest/gtest.h>

#include <string>

#include "tools/rcc/rc_error.h"
#include "tools/rcc/rc_parser.h"

namespace {

using sif::rcc::ParseScript;
using sif::rcc::RcError;

std::string OneString(const std::string& literal) {
    auto script = ParseScript("STRINGTABLE\nBEGIN\n 5, " + literal + "\nEND\n", ".");
    EXPECT_EQ(script.strings.size(), 1u);
    return script.strings.empty() ? "" : script.strings[0].text;
}

struct Decoding {
    const char* literal;
    const char* text;
};

TEST(RcStrings, DecodesTheEscapesOfTheSubset) {
    const Decoding cases[] = {
        {R"("plain")", "plain"},
        {R"("")", ""},
        {R"("""xxx"" mehrzeilig")", "\"xxx\" mehrzeilig"},
        {R"("xx""...""xx")", "xx\"...\"xx"},
        {R"("""")", "\""},
        {R"("a\tb")", "a\tb"},
        {R"("a\nb\r")", "a\nb\r"},
        {R"("d:\\*.rc")", "d:\\*.rc"},
        {R"("\x41\xe4")", "A\xe4"},
        {"\"caf\xe9\"", "caf\xe9"},  // Windows-1252 bytes pass through
        {R"("/* not a comment */ // nor this")", "/* not a comment */ // nor this"},
    };
    for (const Decoding& c : cases) {
        SCOPED_TRACE(c.literal);
        EXPECT_EQ(OneString(c.literal), c.text);
    }
}

TEST(RcStrings, RefusesEscapesItCannotKeepExactly) {
    // \0 would cut the NUL-terminated text; \" is not read alike by every
    // resource compiler, so the doubled quote is the one way to write a quote.
    for (const char* literal : {R"("a\0")", R"("a\x00")", R"("a\"b")", R"("a\x4")", R"("a\")"}) {
        SCOPED_TRACE(literal);
        EXPECT_THROW(OneString(literal), RcError);
    }
}

TEST(RcStrings, EntriesComeOutSortedWithOrWithoutCommas) {
    auto script = ParseScript(
        "STRINGTABLE\nBEGIN\n 30 \"c\"\n 10, \"a\"\nEND\n"
        "STRINGTABLE\nBEGIN\n 0x14 \"b\"\nEND\n",
        ".");
    ASSERT_EQ(script.strings.size(), 3u);
    EXPECT_EQ(script.strings[0].id, 10u);
    EXPECT_EQ(script.strings[1].id, 20u);
    EXPECT_EQ(script.strings[1].text, "b");
    EXPECT_EQ(script.strings[2].id, 30u);
}

TEST(RcStrings, ErrorsCarryTheLineOfTheOffendingEntry) {
    try {
        ParseScript("STRINGTABLE\nBEGIN\n 1 \"a\"\n\n 2 \"b\\z\"\nEND\n", ".");
        FAIL() << "accepted an unknown escape";
    } catch (const RcError& e) {
        EXPECT_EQ(e.line(), 5);
    }
}

}  // namespace
