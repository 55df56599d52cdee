// The version record as the compiler reads it.
#include <gtest/gtest.h>

#include <string>

#include "tools/rcc/rc_error.h"
#include "tools/rcc/rc_parser.h"

namespace {

using sif::rcc::ParseScript;
using sif::rcc::RcError;

std::string Record(const std::string& fixed, const std::string& block, const std::string& pair) {
    return "1 VERSIONINFO\n" + fixed + "BEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n  BLOCK \"" +
           block +
           "\"\n  BEGIN\n   VALUE \"A\", \"x\"\n  END\n END\n"
           " BLOCK \"VarFileInfo\"\n BEGIN\n  VALUE \"Translation\", " +
           pair + "\n END\nEND\n";
}

TEST(RcVersionParse, ReadsTheFixedPartAndTheTranslation) {
    auto script =
        ParseScript(Record(" FILEVERSION 1,2,3,4\n PRODUCTVERSION 5,6,7,8\n FILETYPE VFT_APP\n"
                           " FILEOS VOS__WINDOWS32\n",
                           "040904e4", "0x409, 1252"),
                    ".");
    ASSERT_TRUE(script.hasVersion);
    EXPECT_EQ(script.version.fileVersion, (std::array<unsigned, 4>{1, 2, 3, 4}));
    EXPECT_EQ(script.version.productVersion, (std::array<unsigned, 4>{5, 6, 7, 8}));
    EXPECT_EQ(script.version.fileType, 1u);
    EXPECT_EQ(script.version.translation, "040904E4");
    ASSERT_EQ(script.version.values.size(), 1u);
    EXPECT_EQ(script.version.values[0].second, "x");
}

TEST(RcVersionParse, RefusesRecordsItCannotRepresent) {
    const std::string bad[] = {
        // The translation must name the one language block.
        Record("", "040704E4", "0x409, 1252"),
        Record(" FILEVERSION 1,2,3\n", "040904E4", "0x409, 1252"),
        Record(" FILEVERSION 1,2,3,70000\n", "040904E4", "0x409, 1252"),
        Record(" FILEDATE 1\n", "040904E4", "0x409, 1252"),
        Record("", "0409", "0x409, 1252"),
        "2 VERSIONINFO\nBEGIN\nEND\n",
        "1 VERSIONINFO\nBEGIN\nEND\n",
    };
    for (const std::string& script : bad) {
        SCOPED_TRACE(script);
        EXPECT_THROW(ParseScript(script, "."), RcError);
    }
}

}  // namespace
