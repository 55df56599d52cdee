// The command line's gathered stderr lines when their writes are interrupted,
// come up short or fail.
#include "platform/gathered_stderr_sink.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "tests/support/fault_plan.h"
#include "tests/support/temp_dir.h"

namespace sif {
namespace {

using os::Call;
using os::Fault;

// Standard error goes to a file until destruction.
class StderrToFile {
  public:
#ifdef _WIN32
    explicit StderrToFile(const std::string& file)
        : saved_(GetStdHandle(STD_ERROR_HANDLE)),
          file_(CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
        SetStdHandle(STD_ERROR_HANDLE, file_);
    }
    ~StderrToFile() {
        SetStdHandle(STD_ERROR_HANDLE, saved_);
        CloseHandle(file_);
    }
#else
    explicit StderrToFile(const std::string& file) : saved_(::dup(STDERR_FILENO)) {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~StderrToFile() {
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
#endif
    StderrToFile(const StderrToFile&) = delete;
    StderrToFile& operator=(const StderrToFile&) = delete;

  private:
#ifdef _WIN32
    HANDLE saved_;
    HANDLE file_;
#else
    int saved_;
#endif
};

struct SinkCase {
    const char* name;
    Fault fault;
    bool written;
};

void PrintTo(const SinkCase& c, std::ostream* os) {
    *os << c.name;
}

class GatheredLines : public ::testing::TestWithParam<SinkCase> {};

TEST_P(GatheredLines, FailOnlyOnARealError) {
    const SinkCase& c = GetParam();
    test::TempDir dir;
    const std::string file = dir.File("stderr.txt");
    std::string expected;
    {
        StderrToFile redirect(file);
        GatheredStderrSink sink;
        for (int i = 0; i < 3000; ++i) {
            const std::string text = "line " + std::to_string(i);
            sink.Show(nullptr, text.c_str(), "Meldung", 0);
            expected += "Meldung: " + text + "\n";
        }
        {
            test::FaultPlan plan;
            plan.At(Call::Write, 1, c.fault, 3);
            EXPECT_EQ(sink.Flush(), c.written);
        }
        // A failure is told once: the next lines go out and say so.
        sink.Show(nullptr, "after", "Meldung", 0);
        expected += "Meldung: after\n";
        EXPECT_TRUE(sink.Flush());
    }
    if (c.written) {
        EXPECT_EQ(test::ReadBytes(file), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GatheredLines,
                         ::testing::Values(SinkCase{"Interrupted", Fault::Interrupt, true},
                                           SinkCase{"Short", Fault::Short, true},
                                           SinkCase{"Failing", Fault::Fail, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sif
