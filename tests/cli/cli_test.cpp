// Runs the built sifteron-cli in a temporary directory and checks the target's
// bytes, the stderr lines and the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "sifteron_version.h"
#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"

namespace {

using sif::test::ReadBytes;
using sif::test::SplitLines;
using sif::test::WriteBytes;
using Lines = std::vector<std::string>;

struct Outcome {
    int status = -1;
    std::string out;
    Lines errLines;
};

class CliTest : public ::testing::Test {
  protected:
    // closeStreams: start the program with descriptors 0-2 closed.
    Outcome Run(const std::vector<std::string>& args, bool closeStreams = false) {
        const std::string outFile = closeStreams ? "" : dir.File(".stdout");
        const std::string errFile = closeStreams ? "" : dir.File(".stderr");
        sif::test::CliProcess cli({args, dir.path().string(), outFile, errFile});
        Outcome o;
        o.status = cli.Wait();
        if (!closeStreams) {
            o.out = ReadBytes(outFile);
            o.errLines = SplitLines(ReadBytes(errFile));
            std::filesystem::remove(outFile);
            std::filesystem::remove(errFile);
        }
        return o;
    }

    std::string At(const std::string& name) const { return dir.File(name); }

    sif::test::TempDir dir;
};

TEST_F(CliTest, PositiveRunCreatesTheTargetAndSaysSo) {
    WriteBytes(At("a.html"), "<a href=\"x.html\">\"quoted\"</a>\r\n");
    Outcome o = Run({"a.html", "out.txt"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.errLines,
              (Lines{"Meldung: Zieldatei wird neu erzeugt", "Meldung: Operation abgechlossen"}));
    EXPECT_EQ(ReadBytes(At("out.txt")), "x.html\r\nquoted\r\n");
}

struct ModeCase {
    const char* name;
    std::vector<std::string> options;
    std::string source;
    std::string expected;
    Lines errLines;
};

// Keeps test names short in listings.
void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.name;
}

class CliModes : public CliTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(CliModes, AppendTheKeptBytes) {
    const ModeCase& c = GetParam();
    WriteBytes(At("src.txt"), c.source);
    WriteBytes(At("out.txt"), "old\r\n");
    std::vector<std::string> args = c.options;
    args.push_back("src.txt");
    args.push_back("out.txt");
    Outcome o = Run(args);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.errLines, c.errLines);
    EXPECT_EQ(ReadBytes(At("out.txt")), "old\r\n" + c.expected);
}

const Lines kDone{"Meldung: Operation abgechlossen"};

INSTANTIATE_TEST_SUITE_P(
    Cases, CliModes,
    ::testing::Values(
        ModeCase{"Negative", {"--mode", "negative"}, "a \"x\" b\r\n", "a  b\r\n", kDone},
        ModeCase{"MultilinePositive",
                 {"--mode=multiline-positive"},
                 "a \"x\r\ny\" b",
                 "x\r\ny",
                 {"Meldung: Mehrzeilige Operation ok"}},
        ModeCase{"MultilineNegative",
                 {"--mode", "multiline-negative", "--english"},
                 "a \"x\r\ny\" b",
                 "a  b",
                 {"Message: multiline operation ok"}},
        ModeCase{
            "Parentheses", {"--left", "(x", "--right", ")"}, "f(a) g(b)\r\n", "a\r\nb\r\n", kDone},
        ModeCase{"ResourceIgnoresMode",
                 {"--kind", "rc", "--mode", "negative"},
                 "  DEFPUSHBUTTON \"OK\",IDOK\r\n  EDITTEXT \"no\"\r\n",
                 "OK\tPUSHBUTTON\tsrc.txt\r\n",
                 kDone},
        ModeCase{"EmptyDelimitersAreNul",
                 {"--left", "", "--right", "", "--mode", "multiline-positive"},
                 std::string("a\0in\0b", 6),
                 "in",
                 {"Meldung: Mehrzeilige Operation ok"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, ListModeInEnglish) {
    WriteBytes(At("one.txt"), "\"1\"\r\n");
    WriteBytes(At("Liste.txt"), "one.txt\nmissing.txt\n");
    Outcome o = Run({"--english", "#LISTE#", "out.txt"});
    // The run closes with its notice, but a listed file failed.
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(
        o.errLines,
        (Lines{"Message: process listfile: liste.txt", "Message: create new target file",
               "Errormessage: source file not found !",
               "Errormessage: no file found/creation failed !", "Message: operation completed"}));
    EXPECT_EQ(ReadBytes(At("out.txt")), "1\r\n");
}

struct FailCase {
    const char* name;
    std::vector<std::string> args;
    Lines errLines;
};

// Keeps test names short in listings.
void PrintTo(const FailCase& c, std::ostream* os) {
    *os << c.name;
}

class CliFailures : public CliTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(CliFailures, EndWithStatusOneAndLeaveTheTargetAlone) {
    const FailCase& c = GetParam();
    WriteBytes(At("src.txt"), "\"x\"\r\n");
    WriteBytes(At("out.txt"), "precious\r\n");
    std::filesystem::create_directory(At("dir"));
    Outcome o = Run(c.args);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.errLines, c.errLines);
    EXPECT_EQ(ReadBytes(At("out.txt")), "precious\r\n");
    EXPECT_EQ(ReadBytes(At("src.txt")), "\"x\"\r\n");
}

const char kFailed[] = "Fehlermeldung: Datei ex, nicht/Erzeugung fehlgeschlagen !";

const FailCase kFailCases[] = {
    FailCase{"SameName", {"out.txt", "out.txt"}, {"Fehlermeldung: Quelldatei == Zieldatei !"}},
    FailCase{"SameFileOtherSpelling",
             {"--mode", "negative", "src.txt", "./src.txt"},
             {"Fehlermeldung: Quelldatei == Zieldatei !", kFailed}},
    FailCase{"MissingSource",
             {"missing.txt", "out.txt"},
             {"Fehlermeldung: Quelldatei nicht gefunden !", kFailed}},
    FailCase{"DirectorySource",
             {"dir", "out.txt"},
             {"Fehlermeldung: Quelldatei nicht gefunden !", kFailed}},
    FailCase{
        "DirectoryTarget", {"src.txt", "dir"}, {"Meldung: Zieldatei wird neu erzeugt", kFailed}},
    FailCase{"TargetInMissingFolder",
             {"src.txt", "nowhere/out.txt"},
             {"Meldung: Zieldatei wird neu erzeugt", kFailed}},
#ifndef _WIN32
    FailCase{"FullDevice",
             {"src.txt", "/dev/full"},
             {"Fehlermeldung: Fehler beim Lesen/Schreiben !", kFailed}},
#endif
    FailCase{"MissingList",
             {"#Liste#", "out.txt"},
             {"Meldung: Listendatei abarbeiten", "Fehlermeldung: Liste,txt nicht gefunden !"}}};

INSTANTIATE_TEST_SUITE_P(Cases, CliFailures, ::testing::ValuesIn(kFailCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    std::string reason;
};

// Keeps test names short in listings.
void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.name;
}

class CliUsage : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CliUsage, RefusesWithTheReasonAndStatusTwoAndOpensNothing) {
    const UsageCase& c = GetParam();
    WriteBytes(At("s"), "\"x\"\r\n");
    Outcome o = Run(c.args);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.errLines, (Lines{"sifteron-cli: " + c.reason,
                                 "Try 'sifteron-cli --help' for more information."}));
    EXPECT_FALSE(std::filesystem::exists(At("t")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliUsage,
    ::testing::Values(
        UsageCase{"NoNames", {}, "missing SOURCE and TARGET"},
        UsageCase{"OneName", {"s"}, "missing TARGET after 's'"},
        UsageCase{"ThreeNames", {"s", "t", "u"}, "extra operand 'u'"},
        UsageCase{"UnknownOption", {"--fast", "s", "t"}, "unrecognized option '--fast'"},
        UsageCase{
            "UnknownOptionAfterNames", {"s", "t", "--fast=1"}, "unrecognized option '--fast=1'"},
        UsageCase{"UnknownShortOption", {"-x", "s", "t"}, "invalid option -- 'x'"},
        UsageCase{"PrefixOfEveryOption",
                  {"--=x", "s", "t"},
                  "option '--=x' is ambiguous; possibilities: '--kind' '--mode' '--left' "
                  "'--right' '--english' '--help' '--version'"},
        UsageCase{"UnknownKind",
                  {"--kind", "dlg", "s", "t"},
                  "invalid argument 'dlg' for '--kind'; valid arguments are 'text' and 'rc'"},
        UsageCase{"UnknownMode",
                  {"--mode=sideways", "s", "t"},
                  "invalid argument 'sideways' for '--mode'; valid arguments are 'positive', "
                  "'negative', 'multiline-positive' and 'multiline-negative'"},
        UsageCase{"MissingValue", {"s", "t", "--left"}, "option '--left' requires an argument"},
        UsageCase{
            "MissingValueAbbreviated", {"s", "t", "--ri"}, "option '--right' requires an argument"},
        UsageCase{"ValueForAFlag",
                  {"--eng=yes", "s", "t"},
                  "option '--english' doesn't allow an argument"},
        UsageCase{"ValueForHelp", {"--help=all"}, "option '--help' doesn't allow an argument"},
        UsageCase{"TwoByteLeftDelimiter",
                  {"--left=\xC2\xAB", "s", "t"},
                  "option '--left': '\xC2\xAB' takes 2 bytes in UTF-8; a delimiter is one byte"},
        UsageCase{
            "ThreeByteRightDelimiter",
            {"--right", "\xE2\x82\xAC)", "s", "t"},
            "option '--right': '\xE2\x82\xAC' takes 3 bytes in UTF-8; a delimiter is one byte"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SpellingCase {
    const char* name;
    std::vector<std::string> args;
    std::string expected;  // what the target receives after "old\r\n"
    Lines errLines;
};

// Keeps test names short in listings.
void PrintTo(const SpellingCase& c, std::ostream* os) {
    *os << c.name;
}

class CliSpellings : public CliTest, public ::testing::WithParamInterface<SpellingCase> {};

TEST_P(CliSpellings, RunAsTheLongForm) {
    const SpellingCase& c = GetParam();
    WriteBytes(At("src.txt"), "a \"x\" (y) b\r\n");
    WriteBytes(At("out.txt"), "old\r\n");
    Outcome o = Run(c.args);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.errLines, c.errLines);
    EXPECT_EQ(ReadBytes(At("out.txt")), "old\r\n" + c.expected);
}

const Lines kEnglishDone{"Message: operation completed"};

INSTANTIATE_TEST_SUITE_P(
    Cases, CliSpellings,
    ::testing::Values(SpellingCase{"Abbreviated",
                                   {"--mo", "negative", "--eng", "src.txt", "out.txt"},
                                   "a  (y) b\r\n",
                                   kEnglishDone},
                      SpellingCase{"AbbreviatedWithValue",
                                   {"--l=(", "--r=)", "src.txt", "out.txt"},
                                   "y\r\n",
                                   kDone},
                      SpellingCase{"OptionsAfterNames",
                                   {"src.txt", "out.txt", "--english", "--mode=negative"},
                                   "a  (y) b\r\n",
                                   kEnglishDone},
                      SpellingCase{"AsciiBeforeOtherBytes",
                                   {"--left=(\xC2\xAB", "--right=)", "src.txt", "out.txt"},
                                   "y\r\n",
                                   kDone},
                      SpellingCase{"DashDashBeforeNames",
                                   {"--english", "--", "src.txt", "out.txt"},
                                   "x\r\n",
                                   kEnglishDone}),
    [](const auto& info) { return std::string(info.param.name); });

struct InfoCase {
    const char* name;
    std::vector<std::string> args;
    std::string firstLine;
};

// Keeps test names short in listings.
void PrintTo(const InfoCase& c, std::ostream* os) {
    *os << c.name;
}

class CliInfo : public CliTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(CliInfo, GoesToStdoutAndEndsTheRun) {
    const InfoCase& c = GetParam();
    Outcome o = Run(c.args);
    EXPECT_EQ(o.status, 0);
    EXPECT_TRUE(o.errLines.empty());
    const Lines lines = SplitLines(o.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], c.firstLine);
    EXPECT_FALSE(std::filesystem::exists(At("t")));
}

const char kHelpFirstLine[] = "Usage: sifteron-cli [OPTION]... SOURCE TARGET";
const std::string kVersionFirstLine =
    std::string("sifteron-cli (Sifteron) ") + sif::kSifteronVersion;

INSTANTIATE_TEST_SUITE_P(
    Cases, CliInfo,
    ::testing::Values(InfoCase{"Help", {"--help"}, kHelpFirstLine},
                      InfoCase{"ShortHelp", {"-h"}, kHelpFirstLine},
                      InfoCase{"AbbreviatedHelp", {"--he"}, kHelpFirstLine},
                      InfoCase{"HelpAfterNames", {"s", "t", "--help"}, kHelpFirstLine},
                      InfoCase{"Version", {"--version"}, kVersionFirstLine},
                      InfoCase{"ShortVersion", {"-V", "s", "t"}, kVersionFirstLine},
                      InfoCase{"FirstOfBoth", {"-Vh"}, kVersionFirstLine}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, VersionTellsTheLicence) {
    const Lines lines = SplitLines(Run({"--version"}).out);
    EXPECT_EQ(lines, (Lines{kVersionFirstLine, "Copyright (C) 2026 the Sifteron developers.",
                            "License MIT: <https://opensource.org/licenses/MIT>.",
                            "This is free software: you are free to change and redistribute it.",
                            "There is NO WARRANTY, to the extent permitted by law."}));
}

TEST_F(CliTest, DashDashEndsOptions) {
    WriteBytes(At("--odd"), "\"x\"\r\n");
    Outcome o = Run({"--", "--odd", "out.txt"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(ReadBytes(At("out.txt")), "x\r\n");
}

TEST_F(CliTest, AFileNamedDashIsReachedAsDotSlashDash) {
    WriteBytes(At("-"), "\"x\"\r\n");
    Outcome o = Run({"./-", "out.txt"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(ReadBytes(At("out.txt")), "x\r\n");
}

TEST_F(CliTest, ClosedStandardStreamsNeverReceiveTheTarget) {
    WriteBytes(At("src.txt"), "\"x\"\r\n");
    Outcome o = Run({"src.txt", "out.txt"}, /*closeStreams=*/true);
#ifdef _WIN32
    // No null device stands in for them there: the messages were lost.
    EXPECT_EQ(o.status, 1);
#else
    EXPECT_EQ(o.status, 0);
#endif
    EXPECT_EQ(ReadBytes(At("out.txt")), "x\r\n");
}

}  // namespace
