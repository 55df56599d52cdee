// The quoting against Windows' own splitter: CommandLineToArgvW must give
// every argument back whole.
#include <windows.h>
// <shellapi.h> needs <windows.h> before it.
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/windows_command_line.h"

namespace {

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        wide[i] = static_cast<unsigned char>(text[i]);  // the cases are ASCII
    return wide;
}

class CommandLineToArgvTest : public testing::TestWithParam<const char*> {};

TEST_P(CommandLineToArgvTest, SplitsTheLineBackIntoTheWords) {
    const std::string argument = GetParam();
    const std::string line = sif::WindowsCommandLine({"NOTEPAD.EXE", argument, "last word"});
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(Widen(line).c_str(), &count);
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(count, 3) << "line: " << line;
    if (count == 3) {
        EXPECT_EQ(std::wstring(words[1]), Widen(argument)) << "line: " << line;
        EXPECT_EQ(std::wstring(words[2]), L"last word") << "line: " << line;
    }
    LocalFree(words);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineToArgvTest,
                         testing::Values("page.txt", "", "my page.txt", "tab\there",
                                         R"(say "hi".txt)", R"(a\"b)", R"(C:\my dir\)",
                                         R"(C:\my dir\\)", R"(a\\b c)", R"(\\server\share\a b)",
                                         R"(")", R"(\)", R"(\")", ".\\-n.txt"));

}  // namespace
