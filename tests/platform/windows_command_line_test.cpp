// The quoting must give the program back each argument whole, whatever it
// holds: CommandLineToArgvW splits at blanks outside quotes, takes \" as a
// quote and 2n backslashes before a quote as n.
#include "platform/windows_command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct QuoteCase {
    const char* argument;
    const char* quoted;
};

class QuoteWindowsArgumentTest : public testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteWindowsArgumentTest, GivesTheArgumentBackWhole) {
    EXPECT_EQ(sif::QuoteWindowsArgument(GetParam().argument), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteWindowsArgumentTest,
                         testing::Values(QuoteCase{"page.txt", "page.txt"},
                                         QuoteCase{R"(C:\Texte\page.txt)", R"(C:\Texte\page.txt)"},
                                         QuoteCase{"", R"("")"},
                                         QuoteCase{"my page.txt", R"("my page.txt")"},
                                         QuoteCase{"tab\there", "\"tab\there\""},
                                         QuoteCase{R"(say "hi".txt)", R"("say \"hi\".txt")"},
                                         QuoteCase{R"(a\"b)", R"("a\\\"b")"},
                                         QuoteCase{R"(C:\my dir\)", R"("C:\my dir\\")"},
                                         QuoteCase{R"(C:\my dir\\)", R"("C:\my dir\\\\")"},
                                         QuoteCase{R"(a\\b c)", R"("a\\b c")"},
                                         QuoteCase{"-n.txt", "-n.txt"}));

TEST(WindowsCommandLine, JoinsTheQuotedWordsWithBlanks) {
    EXPECT_EQ(sif::WindowsCommandLine({"NOTEPAD.EXE", "my page.txt"}),
              R"(NOTEPAD.EXE "my page.txt")");
}

struct FileArgumentCase {
    const char* fileName;
    const char* argument;
};

class WindowsViewerFileArgumentTest : public testing::TestWithParam<FileArgumentCase> {};

TEST_P(WindowsViewerFileArgumentTest, NeverReadsAsASwitch) {
    EXPECT_EQ(sif::WindowsViewerFileArgument(GetParam().fileName), GetParam().argument);
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowsViewerFileArgumentTest,
                         testing::Values(FileArgumentCase{"-n.txt", R"(.\-n.txt)"},
                                         FileArgumentCase{"/P", R"(\P)"},
                                         FileArgumentCase{"page.txt", "page.txt"},
                                         FileArgumentCase{R"(C:\-n.txt)", R"(C:\-n.txt)"},
                                         FileArgumentCase{"", ""}));

}  // namespace
