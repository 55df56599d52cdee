// Runs that append to one target at once: each run's output whole and in one
// piece, beside other runs, a failing run, a writer that takes no lock, and a
// lock held from outside.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/lock_holder.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <csignal>
#endif

namespace sif::test {
namespace {

const std::string kEarlier = "earlier content, never touched\r\n";
constexpr int kRecords = 20000;

struct ModeCase {
    const char* name;
    std::vector<std::string> options;
    bool resource;
};

const ModeCase kModes[] = {
    {"Positive", {}, false},
    {"Negative", {"--mode=negative"}, false},
    {"MultilinePositive", {"--mode=multiline-positive"}, false},
    {"MultilineNegative", {"--mode=multiline-negative"}, false},
    {"Resource", {"--kind=rc"}, true},
};

// Records that differ between runs inside and outside the delimiters, so
// that every mode keeps something of each run's own.
std::string Source(int run, bool resource) {
    std::string text;
    for (int k = 0; k < kRecords; ++k) {
        const std::string id = "r" + std::to_string(run) + "-" + std::to_string(k);
        text += resource ? "    CAPTION \"" + id + "\"\r\n" : id + "a \"" + id + "b\" \r\n";
    }
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    return SplitLines(text);
}

class ConcurrentRuns : public testing::Test {
  protected:
    std::string File(const std::string& name) const { return dir.File(name); }

    std::vector<std::string> Args(const ModeCase& mode, const std::string& source,
                                  const std::string& target) const {
        std::vector<std::string> args = mode.options;
        args.push_back(source);
        args.push_back(target);
        return args;
    }

    // Every run gets a stderr of its own: on Windows a run whose messages
    // cannot be written ends with status 1.
    CliLaunch Launch(std::vector<std::string> args, const std::string& stderrFile = "") {
        CliLaunch launch;
        launch.args = std::move(args);
        launch.dir = dir.path().string();
        launch.stderrFile =
            stderrFile.empty() ? File("stderr" + std::to_string(launches++) + ".txt") : stderrFile;
        return launch;
    }

    std::string SourceName(int run, const ModeCase& mode) const {
        return "src" + std::to_string(run) + (mode.resource ? ".rc" : ".txt");
    }

    // Writes the sources and, run alone into a target of its own, each run's
    // output.
    void Prepare(const ModeCase& mode, int runs) {
        for (int i = 0; i < runs; ++i) {
            WriteBytes(File(SourceName(i, mode)), Source(i, mode.resource));
            const std::string alone = "alone" + std::to_string(i) + ".txt";
            CliProcess cli(Launch(Args(mode, SourceName(i, mode), alone)));
            ASSERT_EQ(cli.Wait(), 0);
            outputs.push_back(ReadBytes(File(alone)));
            ASSERT_FALSE(outputs.back().empty());
        }
    }

    // The earlier content, then every run's output whole, in some order.
    void ExpectEachOutputOnceAndWhole(const std::string& target,
                                      const std::vector<int>& good) const {
        ASSERT_EQ(target.compare(0, kEarlier.size(), kEarlier), 0) << "earlier content changed";
        std::set<int> left(good.begin(), good.end());
        std::size_t at = kEarlier.size();
        while (!left.empty()) {
            int found = -1;
            for (int i : left) {
                if (target.compare(at, outputs[i].size(), outputs[i]) == 0) {
                    found = i;
                    break;
                }
            }
            if (found < 0) {
                break;
            }
            at += outputs[static_cast<std::size_t>(found)].size();
            left.erase(found);
        }
        EXPECT_TRUE(left.empty() && at == target.size())
            << left.size() << " runs' output not found whole; " << LostRecords(target, good)
            << " records lost or damaged";
    }

    std::size_t LostRecords(const std::string& target, const std::vector<int>& good) const {
        std::multiset<std::string> present;
        for (const std::string& line : Lines(target)) {
            present.insert(line);
        }
        std::size_t lost = 0;
        for (int i : good) {
            for (const std::string& line : Lines(outputs[static_cast<std::size_t>(i)])) {
                auto it = present.find(line);
                if (it == present.end()) {
                    ++lost;
                } else {
                    present.erase(it);
                }
            }
        }
        return lost;
    }

    TempDir dir;
    int launches = 0;
    std::vector<std::string> outputs;
};

struct TogetherCase {
    ModeCase mode;
    int runs;
};

void PrintTo(const TogetherCase& c, std::ostream* os) {
    *os << c.mode.name << c.runs;
}

class RunsTogether : public ConcurrentRuns, public testing::WithParamInterface<TogetherCase> {};

TEST_P(RunsTogether, AppendEachOutputWholeAndOnce) {
    const TogetherCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Prepare(c.mode, c.runs));
    const std::string target = File("out.txt");
    WriteBytes(target, kEarlier);
    std::vector<std::unique_ptr<CliProcess>> clis;
    std::vector<int> all;
    for (int i = 0; i < c.runs; ++i) {
        clis.push_back(
            std::make_unique<CliProcess>(Launch(Args(c.mode, SourceName(i, c.mode), "out.txt"))));
        all.push_back(i);
    }
    for (auto& cli : clis) {
        EXPECT_EQ(cli->Wait(), 0);
    }
    ExpectEachOutputOnceAndWhole(ReadBytes(target), all);
}

std::vector<TogetherCase> TogetherCases() {
    std::vector<TogetherCase> cases;
    for (const ModeCase& mode : kModes) {
        for (int runs : {2, 4, 8}) {
            cases.push_back({mode, runs});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, RunsTogether, testing::ValuesIn(TogetherCases()),
                         [](const auto& info) {
                             return info.param.mode.name + std::to_string(info.param.runs);
                         });

const ModeCase& PositiveMode() {
    return kModes[0];
}

TEST_F(ConcurrentRuns, ALockedTargetIsWaitedForToldOnceAndAppendedWhenFreed) {
    ASSERT_NO_FATAL_FAILURE(Prepare(PositiveMode(), 1));
    WriteBytes(File("out.txt"), kEarlier);
    auto holder = std::make_unique<LockHolder>(File("out.txt"));
    ASSERT_TRUE(holder->Held());
    const std::string err = File("err.txt");
    CliProcess cli(Launch(Args(PositiveMode(), SourceName(0, PositiveMode()), "out.txt"), err));
    const std::string waiting = "sifteron-cli: waiting for another run to finish with out.txt";
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(err).find(waiting) != std::string::npos; }))
        << "no waiting line on stderr: " << ReadBytes(err);
    EXPECT_TRUE(cli.Running());
    EXPECT_EQ(ReadBytes(File("out.txt")), kEarlier);
    holder.reset();
    EXPECT_EQ(cli.Wait(), 0);
    const std::string said = ReadBytes(err);
    EXPECT_EQ(said.find(waiting), said.rfind(waiting)) << said;
    EXPECT_EQ(ReadBytes(File("out.txt")), kEarlier + outputs[0]);
}

#ifndef _WIN32
// Signals, file-size limits and a shell's >>: POSIX only.

TEST_F(ConcurrentRuns, ASignalWhileWaitingLeavesTheTargetAsItWas) {
    ASSERT_NO_FATAL_FAILURE(Prepare(PositiveMode(), 1));
    WriteBytes(File("out.txt"), kEarlier);
    LockHolder holder(File("out.txt"));
    ASSERT_TRUE(holder.Held());
    const std::string err = File("err.txt");
    CliProcess cli(Launch(Args(PositiveMode(), SourceName(0, PositiveMode()), "out.txt"), err));
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(err).find("waiting") != std::string::npos; }))
        << "no waiting line on stderr: " << ReadBytes(err);
    cli.Signal(SIGTERM);
    EXPECT_EQ(cli.Wait(), 1);
    EXPECT_EQ(ReadBytes(File("out.txt")), kEarlier);
}

TEST_F(ConcurrentRuns, ARunFailingAtItsSizeLimitTakesOnlyItsOwnOutputBack) {
    const int runs = 4;
    ASSERT_NO_FATAL_FAILURE(Prepare(PositiveMode(), runs));
    WriteBytes(File("out.txt"), kEarlier);
    std::vector<std::unique_ptr<CliProcess>> clis;
    for (int i = 0; i < runs; ++i) {
        CliLaunch launch = Launch(Args(PositiveMode(), SourceName(i, PositiveMode()), "out.txt"));
        if (i == 1) {
            launch.fileSizeLimit = static_cast<long long>(kEarlier.size()) + 1000;
        }
        clis.push_back(std::make_unique<CliProcess>(launch));
    }
    for (int i = 0; i < runs; ++i) {
        EXPECT_EQ(clis[static_cast<std::size_t>(i)]->Wait(), i == 1 ? 1 : 0) << "run " << i;
    }
    ExpectEachOutputOnceAndWhole(ReadBytes(File("out.txt")), {0, 2, 3});
}

TEST_F(ConcurrentRuns, AWriterWithoutTheLockLosesNothingAndTakesNothing) {
    const int runs = 3;
    ASSERT_NO_FATAL_FAILURE(Prepare(PositiveMode(), runs));
    WriteBytes(File("out.txt"), kEarlier);
    const std::string script = "cd '" + dir.path().string() +
                               "' && i=0; while [ ! -e stop ]; do i=$((i+1)); "
                               "echo \"#shell-$i#\" >> out.txt; done; echo $i > count";
    int shellStatus = -1;
    std::thread shell([&] { shellStatus = std::system(script.c_str()); });
    const bool started = WaitUntil(
        [&] { return ReadBytes(File("out.txt")).find("#shell-1#") != std::string::npos; });
    for (int i = 0; started && i < runs; ++i) {
        CliProcess cli(Launch(Args(PositiveMode(), SourceName(i, PositiveMode()), "out.txt")));
        EXPECT_EQ(cli.Wait(), 0);
    }
    WriteBytes(File("stop"), "");
    shell.join();
    ASSERT_TRUE(started) << "the shell loop never wrote";
    ASSERT_EQ(shellStatus, 0) << "the shell loop failed";
    const std::string target = ReadBytes(File("out.txt"));
    const int written = std::atoi(ReadBytes(File("count")).c_str());
    // The shell's lines, in the order written, taken out of the target.
    std::string rest;
    std::size_t from = 0;
    for (int i = 1; i <= written; ++i) {
        const std::string line = "#shell-" + std::to_string(i) + "#\n";
        const std::size_t at = target.find(line, from);
        ASSERT_NE(at, std::string::npos) << "shell line " << i << " of " << written << " lost";
        rest.append(target, from, at - from);
        from = at + line.size();
    }
    rest.append(target, from);
    std::string expected = kEarlier;
    for (const std::string& output : outputs) {
        expected += output;
    }
    EXPECT_TRUE(rest == expected) << "the runs' output changed beside the shell's lines";
}
#endif

}  // namespace
}  // namespace sif::test
