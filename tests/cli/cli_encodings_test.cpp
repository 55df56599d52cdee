// Sources, list files and standard input saved as UTF-16 or with a byte-order
// mark: sifteron-cli gives what the same text in UTF-8 gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>
#endif

namespace {

using sif::test::ReadBytes;
using sif::test::SplitLines;
using sif::test::WriteBytes;
using Lines = std::vector<std::string>;

enum class Form { Utf16Le, Utf16Be, Utf8Mark };

struct FormName {
    Form form;
    const char* name;
};

const FormName kForms[] = {
    {Form::Utf16Le, "utf-16le"}, {Form::Utf16Be, "utf-16be"}, {Form::Utf8Mark, "utf-8 mark"}};

// UTF-8 text as UTF-16LE, by the system's own converter.
std::string Utf16Le(const std::string& utf8) {
#ifdef _WIN32
    const int size = static_cast<int>(utf8.size());
    const int units =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (size > 0 && (units == 0 || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                                       size, wide.data(), units) != units)) {
        throw std::runtime_error("not UTF-8");
    }
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
#else
    iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size();
    std::size_t room = out.size();
    const std::size_t done = iconv(cd, &from, &left, &to, &room);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || left != 0) {
        throw std::runtime_error("not UTF-8");
    }
    out.resize(out.size() - room);
    return out;
#endif
}

std::string Converted(const std::string& utf8, Form form) {
    if (form == Form::Utf8Mark) {
        return "\xEF\xBB\xBF" + utf8;
    }
    std::string le = Utf16Le(utf8);
    if (form == Form::Utf16Be) {
        for (std::size_t i = 0; i + 1 < le.size(); i += 2) {
            std::swap(le[i], le[i + 1]);
        }
        return "\xFE\xFF" + le;
    }
    return "\xFF\xFE" + le;
}

#ifdef _WIN32
using Stream = HANDLE;
void CloseStream(Stream s) {
    CloseHandle(s);
}
#else
using Stream = int;
void CloseStream(Stream s) {
    ::close(s);
}
#endif

// The read end of a pipe that holds `bytes` and whose writer has gone.
Stream PipeHolding(const std::string& bytes) {
#ifdef _WIN32
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    DWORD written = 0;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 65536) ||
        !WriteFile(writeEnd, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw std::runtime_error("cannot fill a pipe");
    }
    CloseHandle(writeEnd);
    return readEnd;
#else
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0 ||
        ::write(fds[1], bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("cannot fill a pipe");
    }
    ::close(fds[1]);
    return fds[0];
#endif
}

struct Outcome {
    int status = -1;
    std::string target;
    Lines errLines;
};

class CliEncodings : public ::testing::Test {
  protected:
    // Runs in the folder `sub` of the test's folder with `files` written
    // there; `in`, when given, is standard input.
    Outcome Run(const std::string& sub,
                const std::vector<std::pair<std::string, std::string>>& files,
                const std::vector<std::string>& args, Stream in = sif::test::kNoStream) {
        const std::filesystem::path folder = dir.path() / sub;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        for (const auto& [name, bytes] : files) {
            WriteBytes((folder / name).string(), bytes);
        }
        sif::test::CliLaunch launch{args, folder.string(), (folder / ".stdout").string(),
                                    (folder / ".stderr").string()};
        launch.stdinStream = in;
        sif::test::CliProcess cli(launch);
        if (in != sif::test::kNoStream) {
            CloseStream(in);
        }
        Outcome o;
        o.status = cli.Wait();
        o.errLines = SplitLines(ReadBytes((folder / ".stderr").string()));
        const std::filesystem::path target = folder / "out.txt";
        o.target = std::filesystem::exists(target) ? ReadBytes(target.string()) : "(none)";
        return o;
    }

    sif::test::TempDir dir;
};

struct Job {
    const char* name;
    std::vector<std::string> options;
    bool resourceScriptsOnly;
};

void PrintTo(const Job& j, std::ostream* os) {
    *os << j.name;
}

const Job kJobs[] = {
    {"Positive", {}, false},
    {"Negative", {"--mode=negative"}, false},
    {"MultilinePositive", {"--mode=multiline-positive"}, false},
    {"MultilineNegative", {"--mode=multiline-negative"}, false},
    {"Resource", {"--kind=rc"}, true},
};

// Files of other projects, read where they lie: the folder that
// SIFTERON_CORPUS_DIR names, else the one CMake found.
std::filesystem::path CorpusFolder() {
    const char* fromEnvironment = std::getenv("SIFTERON_CORPUS_DIR");
    return fromEnvironment != nullptr ? fromEnvironment : SIFTERON_CORPUS_DIR;
}

class CliCorpusForms : public CliEncodings, public ::testing::WithParamInterface<Job> {};

TEST_P(CliCorpusForms, EveryFormGivesWhatTheFileGives) {
    const Job& job = GetParam();
    const std::filesystem::path corpus = CorpusFolder();
    std::error_code error;
    if (!std::filesystem::is_directory(corpus, error)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() &&
            (!job.resourceScriptsOnly || extension == ".rc" || extension == ".dlg")) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::size_t kept = 0;
    for (const std::filesystem::path& file : files) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        const std::string text = ReadBytes(file.string());
        std::vector<std::string> args = job.options;
        args.insert(args.end(), {name, "out.txt"});
        const Outcome plain = Run("plain", {{name, text}}, args);
        kept += plain.target.size();
        for (const FormName& f : kForms) {
            SCOPED_TRACE(f.name);
            const Outcome o = Run("converted", {{name, Converted(text, f.form)}}, args);
            EXPECT_EQ(o.status, plain.status);
            EXPECT_EQ(o.errLines, plain.errLines);
            // The first differing byte, not two whole files.
            const auto differ = std::mismatch(o.target.begin(), o.target.end(),
                                              plain.target.begin(), plain.target.end());
            EXPECT_TRUE(o.target == plain.target)
                << o.target.size() << " bytes instead of " << plain.target.size()
                << ", first difference at " << differ.first - o.target.begin();
        }
    }
    EXPECT_FALSE(files.empty());
    EXPECT_GT(kept, 0u) << "the files gave no text at all";
}

INSTANTIATE_TEST_SUITE_P(Jobs, CliCorpusForms, ::testing::ValuesIn(kJobs),
                         [](const auto& info) { return std::string(info.param.name); });

const char kEarlier[] = "earlier\r\n";
const Lines kDone{"Meldung: Operation abgechlossen"};
// The file is not what its mark says: a read error, the target as it was.
const Lines kReadError{"Fehlermeldung: Fehler beim Lesen/Schreiben !",
                       "Fehlermeldung: Datei ex, nicht/Erzeugung fehlgeschlagen !"};

std::string Le(const std::string& utf8) {
    return Converted(utf8, Form::Utf16Le);
}

std::string Be(const std::string& utf8) {
    return Converted(utf8, Form::Utf16Be);
}

struct RowCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::string> args;
    std::string standardInput;  // "" for none
    int status;
    Lines errLines;
    std::string appended;           // to the target's earlier bytes
    std::string target = kEarlier;  // those bytes
};

void PrintTo(const RowCase& c, std::ostream* os) {
    *os << c.name;
}

class CliEncodingRows : public CliEncodings, public ::testing::WithParamInterface<RowCase> {};

TEST_P(CliEncodingRows, AppendTheTextOrNothing) {
    const RowCase& c = GetParam();
    auto files = c.files;
    files.emplace_back("out.txt", c.target);
    const Outcome o =
        Run("row", files, c.args,
            c.standardInput.empty() ? sif::test::kNoStream : PipeHolding(c.standardInput));
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.errLines, c.errLines);
    EXPECT_EQ(o.target, c.target + c.appended);
}

const std::string kSmile = "\xF0\x9F\x98\x80";

INSTANTIATE_TEST_SUITE_P(
    Rows, CliEncodingRows,
    ::testing::Values(
        RowCase{"OutsideTheBmp",
                {{"src.txt", Le("a \"" + kSmile + "\" b\r\n")}},
                {"src.txt", "out.txt"},
                "",
                0,
                kDone,
                kSmile + "\r\n"},
        RowCase{"LoneHighSurrogate",
                {{"src.txt", Le("\"x\"\r\n") + std::string("\0\xD8", 2) + "\"\0\r\0\n\0"}},
                {"src.txt", "out.txt"},
                "",
                1,
                kReadError,
                ""},
        RowCase{"LoneLowSurrogate",
                {{"src.txt", Be("\"x\"\r\n") + "\xDC\x00"}},
                {"--mode=multiline-positive", "src.txt", "out.txt"},
                "",
                1,
                kReadError,
                ""},
        RowCase{"OddLastByte",
                {{"src.txt", Le("\"x\"\r\n") + "y"}},
                {"src.txt", "out.txt"},
                "",
                1,
                kReadError,
                ""},
        RowCase{"MarkAndNothingElse",
                {{"src.txt", "\xFE\xFF"}},
                {"src.txt", "out.txt"},
                "",
                0,
                kDone,
                ""},
        RowCase{"Utf8MarkIsNoText",
                {{"src.txt",
                  "\xEF\xBB\xBF"
                  "a \"x\" b"}},
                {"--mode=multiline-negative", "src.txt", "out.txt"},
                "",
                0,
                {"Meldung: Mehrzeilige Operation ok"},
                "a  b"},
        RowCase{"ListInUtf16",
                {{"Liste.txt", Le("one.txt\r\ntwo.txt\r\n")},
                 {"one.txt", "\"1\"\r\n"},
                 {"two.txt", Be("\"2 \xC3\xA4\"\r\n")}},
                {"#LISTE#", "out.txt"},
                "",
                0,
                {"Meldung: Listendatei abarbeiten", "Meldung: Operation abgechlossen"},
                "1\r\n2 \xC3\xA4\r\n"},
        RowCase{"Utf16TargetFromUtf8",
                {{"src.txt", "\"\xC3\xA4 " + kSmile + "\"\r\n"}},
                {"src.txt", "out.txt"},
                "",
                0,
                kDone,
                Le("\xC3\xA4 " + kSmile + "\r\n").substr(2),
                Le(kEarlier)},
        RowCase{"Utf16TargetFromUtf16",
                {{"a.rc", Le("  CAPTION \"\xC3\xA4\"\r\n")}},
                {"--kind=rc", "a.rc", "out.txt"},
                "",
                0,
                kDone,
                Be("\xC3\xA4\tCAPTION\ta.rc\r\n").substr(2),
                Be(kEarlier)},
        RowCase{"Utf16TargetCutBack",
                {{"src.txt", Le("\"x\"\r\n") + "y"}},
                {"--mode=negative", "src.txt", "out.txt"},
                "",
                1,
                kReadError,
                "",
                Le(kEarlier)},
        RowCase{"StandardInputWithMark",
                {},
                {"--mode=negative", "-", "out.txt"},
                Le("\xC3\xA4 \"x\" \xC3\xB6\r\n"),
                0,
                kDone,
                "\xC3\xA4  \xC3\xB6\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
