// Runs sif_rcc on small scripts: what it refuses, and how it says so.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct RunResult {
    int exitCode;
    std::string errors;
    bool wroteOutput;
};

class RccCli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("sif_rcc_test_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteFile(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    RunResult Compile(const std::string& script) {
        WriteFile("t.rc", script);
        fs::path out = dir_ / "out.cpp";
        fs::path err = dir_ / "err.txt";
        auto quoted = [](const std::string& s) { return "'" + s + "'"; };
        std::string cmd = quoted(SIF_RCC_PATH) + " " + quoted((dir_ / "t.rc").string()) + " " +
                          quoted(out.string()) + " 2> " + quoted(err.string());
        int status = std::system(cmd.c_str());
        std::ifstream errIn(err);
        std::string errors(std::istreambuf_iterator<char>(errIn), {});
        return {status, errors, fs::exists(out)};
    }

    fs::path dir_;
};

TEST_F(RccCli, AcceptsTheSubsetAndWritesTheBundle) {
    RunResult r = Compile("#include <windows.h>\n// note\nSTRINGTABLE\nBEGIN\n 1 \"a\"\nEND\n");
    EXPECT_EQ(r.exitCode, 0) << r.errors;
    EXPECT_TRUE(r.wroteOutput);
    std::ifstream in(dir_ / "out.cpp");
    std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(text.find("const ResourceBundle kBundle"), std::string::npos);
}

// Each script holds one thing outside the subset; the message must name the
// script and the line where it stands.
struct Rejection {
    const char* script;
    const char* message;  // what follows "t.rc:"
};

const Rejection kRejections[] = {
    {"STRINGTABLE\nBEGIN\n 1 \"a\"\nEND\n1 MENU\nBEGIN\nEND\n", "5: unsupported statement MENU"},
    {"\n\nLANGUAGE 7, 1\n", "3: unsupported statement LANGUAGE"},
    {"IDR_ACC ACCELERATORS\nBEGIN\nEND\n", "1: unsupported statement ACCELERATORS"},
    {"#define X 1\n", "1: unsupported directive #define"},
    {"\n#include \"resource.h\"\n", "2: unsupported directive #include"},
    {"STRINGTABLE DISCARDABLE\nBEGIN\nEND\n", "1: expected BEGIN, found DISCARDABLE"},
    {"STRINGTABLE\n{\n}\n", "2: unexpected character '{'"},
    {"STRINGTABLE\nBEGIN\n 1 L\"wide\"\nEND\n", "3: expected a string, found L"},
    {"STRINGTABLE\nBEGIN\n 1 \"open\nEND\n", "3: unterminated string"},
    {"STRINGTABLE\nBEGIN\n 1 \"a\\qb\"\nEND\n", "3: unsupported escape \\q"},
    {"STRINGTABLE\nBEGIN\n 1 \"a\"\n", "4: expected a number, found end of file"},
    {"STRINGTABLE\nBEGIN\n 7 \"a\"\n 8 \"b\"\n 7 \"c\"\nEND\n", "5: duplicate string id 7"},
    {"STRINGTABLE\nBEGIN\n 70000 \"a\"\nEND\n", "3: string id out of range"},
    {"STRINGTABLE\nBEGIN\n IDS_X \"a\"\nEND\n", "3: unknown name IDS_X"},
    {"/* open\n\n", "1: unterminated comment"},
    {"Up BITMAP \"missing.bmp\"\n", "1: cannot read"},
    {"1 DIALOG 0, 0, 9, 9\nBEGIN\n LTEXT \"a\", 1, 1, 1, 1, 1\n RTEXT \"b\", 2, 1, 1, 1, 1\nEND\n",
     "4: unsupported statement RTEXT"},
    {"1 DIALOG 0, 0, 9, 9\nSTYLE WS_POPUP\nMENU 3\nBEGIN\nEND\n", "3: unsupported statement MENU"},
    {"1 DIALOG 0, 0, 9, 9\nBEGIN\n\n CONTROL \"\", 1, \"SysListView32\", 0, 1, 1, 1, 1\nEND\n",
     "4: unsupported control class \"SysListView32\""},
    {"1 VERSIONINFO\n FILEVERSION 1, 2\nBEGIN\nEND\n", "3: expected ',', found BEGIN"},
};

TEST_F(RccCli, RejectsWhatIsOutsideTheSubsetNamingTheLine) {
    for (const Rejection& r : kRejections) {
        SCOPED_TRACE(r.script);
        RunResult result = Compile(r.script);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.errors.find(std::string("t.rc:") + r.message), std::string::npos)
            << result.errors;
        EXPECT_FALSE(result.wroteOutput);
    }
}

TEST_F(RccCli, AFailedRunLeavesAnEarlierOutputAlone) {
    WriteFile("out.cpp", "previous");
    RunResult r = Compile("1 MENU\n");
    EXPECT_NE(r.exitCode, 0);
    std::ifstream in(dir_ / "out.cpp");
    std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(text, "previous");
}

}  // namespace
