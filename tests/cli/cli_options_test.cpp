// ParseArguments in one process, call after call: getopt_long keeps its scan
// in globals, and every call must start afresh whatever the last one left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_options.h"

namespace {

using sif::cli::CliAction;
using sif::cli::CliOptions;

CliOptions Parse(std::vector<std::string> words) {
    words.insert(words.begin(), "sifteron-cli");
    std::vector<const char*> argv;
    for (const std::string& w : words) {
        argv.push_back(w.c_str());
    }
    argv.push_back(nullptr);
    return sif::cli::ParseArguments(static_cast<int>(words.size()), argv.data());
}

TEST(ParseArguments, StartsAfreshAfterAScanLeftMidway) {
    // Each first scan stops inside its arguments: in a cluster of short
    // options, before a value, or at a refused option.
    const std::vector<std::vector<std::string>> interrupted{
        {"-hV"}, {"-Vh", "--english"}, {"--kind=dlg", "--english"}, {"-xh"}, {"a", "b", "--left"}};
    for (const auto& first : interrupted) {
        Parse(first);
        const CliOptions o = Parse({"--mode", "negative", "in.txt", "out.txt"});
        EXPECT_EQ(o.action, CliAction::Run) << first[0];
        EXPECT_EQ(o.request.nMode, sif::ModeNegative) << first[0];
        EXPECT_EQ(o.request.bEnglish, 0) << first[0];
        EXPECT_EQ(o.request.szSource, "in.txt") << first[0];
        EXPECT_EQ(o.request.szTarget, "out.txt") << first[0];
    }
}

TEST(ParseArguments, LeavesTheCallersArgumentsInOrder) {
    std::vector<std::string> words{"sifteron-cli", "in.txt", "out.txt", "--english"};
    std::vector<const char*> argv{words[0].c_str(), words[1].c_str(), words[2].c_str(),
                                  words[3].c_str(), nullptr};
    const std::vector<const char*> before = argv;
    const CliOptions o = sif::cli::ParseArguments(4, argv.data());
    EXPECT_EQ(o.request.bEnglish, 1);
    EXPECT_EQ(o.request.szSource, "in.txt");
    EXPECT_EQ(argv, before);
}

}  // namespace
