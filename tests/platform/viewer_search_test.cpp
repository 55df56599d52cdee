// Finding the POSIX text viewer: candidate order before PATH order, only
// absolute folders, and a file argument that no editor can read as an option.
#include "platform/posix/viewer_search.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/framework/text_viewer.h"
#include "tests/support/temp_dir.h"

namespace {

struct SearchCase {
    const char* name;
    std::string path;
    std::vector<std::string> installed;
    std::string viewer;
};

class FindTextViewerTest : public testing::TestWithParam<SearchCase> {};

TEST_P(FindTextViewerTest, TakesTheFirstCandidateInAnAbsoluteFolder) {
    const SearchCase& c = GetParam();
    auto isExecutable = [&](const std::string& file) {
        return std::find(c.installed.begin(), c.installed.end(), file) != c.installed.end();
    };
    EXPECT_EQ(sif::FindTextViewer(c.path, isExecutable), c.viewer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTextViewerTest,
    testing::Values(
        SearchCase{"CandidateOrderBeforePathOrder", "/a:/b", {"/a/kate", "/b/gedit"}, "/b/gedit"},
        SearchCase{"PathOrderForOneCandidate", "/a:/b", {"/a/gedit", "/b/gedit"}, "/a/gedit"},
        SearchCase{"OneFolder", "/usr/bin", {"/usr/bin/pluma"}, "/usr/bin/pluma"},
        SearchCase{"NoEditorTheDesktopOpener", "/a:/b", {"/a/vi", "/b/xdg-open"}, "/b/xdg-open"},
        SearchCase{"Nothing", "/a:/b", {"/a/vi"}, ""},
        SearchCase{"EmptyPath", "", {"/gedit", "gedit"}, ""},
        // Empty and relative entries name the current folder.
        SearchCase{"EmptyEntryFirst", ":/x", {"/mousepad", "./mousepad"}, ""},
        SearchCase{"EmptyEntryLast", "/x:", {"/gedit", "./gedit"}, ""},
        SearchCase{"EmptyEntryInside", "/x::/y", {"/gedit", "./gedit"}, ""},
        SearchCase{"Dot", ".:/x", {"./gedit"}, ""},
        SearchCase{"RelativeThenAbsolute",
                   "bin:/usr/bin",
                   {"bin/gedit", "/usr/bin/gedit"},
                   "/usr/bin/gedit"},
        SearchCase{"RelativeOpener", "bin", {"bin/xdg-open"}, ""}),
    [](const testing::TestParamInfo<SearchCase>& info) { return info.param.name; });

struct ArgumentCase {
    const char* name;
    const char* argument;
};

class ViewerFileArgumentTest : public testing::TestWithParam<ArgumentCase> {};

TEST_P(ViewerFileArgumentTest, CannotBeAnOption) {
    EXPECT_EQ(sif::ViewerFileArgument(GetParam().name), GetParam().argument);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ViewerFileArgumentTest,
    testing::Values(ArgumentCase{"a.txt", "a.txt"}, ArgumentCase{"--new-window", "./--new-window"},
                    ArgumentCase{"-s", "./-s"}, ArgumentCase{"-", "./-"},
                    ArgumentCase{"+12", "./+12"}, ArgumentCase{"/tmp/-x", "/tmp/-x"},
                    ArgumentCase{"a-b", "a-b"}, ArgumentCase{"sub/-x", "sub/-x"},
                    ArgumentCase{" -x", " -x"}));

// A stand-in editor alone on PATH that records its arguments.
class StartTextViewerTest : public testing::Test {
  protected:
    void SetUp() override {
        const std::filesystem::path editor = dir_.path() / sif::TextViewerCandidates().front();
        sif::test::WriteBytes(editor.string(), "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '" +
                                                   record_ + ".tmp'\n/bin/mv '" + record_ +
                                                   ".tmp' '" + record_ + "'\n");
        std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
        const char* path = getenv("PATH");
        previousPath_ = path != nullptr ? path : "";
        setenv("PATH", dir_.path().c_str(), 1);
    }
    void TearDown() override { setenv("PATH", previousPath_.c_str(), 1); }

    // The recorded lines, once the editor has written them (10 s at most).
    std::string Recorded() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!std::filesystem::exists(record_)) {
            if (std::chrono::steady_clock::now() > deadline)
                return "(the stand-in editor wrote nothing within 10 s)";
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return sif::test::ReadBytes(record_);
    }

    sif::test::TempDir dir_;
    std::string record_ = dir_.File("argv");
    std::string previousPath_;
};

TEST_F(StartTextViewerTest, GivesTheNameAsOneFileArgument) {
    ASSERT_TRUE(sif::StartTextViewer("-x y \"z\".txt"));
    const std::string editor = (dir_.path() / sif::TextViewerCandidates().front()).string();
    EXPECT_EQ(Recorded(), editor + "\n./-x y \"z\".txt\n");
}

TEST_F(StartTextViewerTest, StartsNothingForAnEmptyName) {
    EXPECT_FALSE(sif::StartTextViewer(""));
}

}  // namespace
