// Targets past 4 GiB, sparse so that they take no disk space: every offset
// and length is 64 bits wide, on 32-bit Windows too. An append lands at the
// end, and one that the file system refuses partway is cut back exactly.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/run_extraction.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_dir.h"

namespace sif {
namespace {

using Lines = std::vector<std::string>;
constexpr std::int64_t k4GiB = std::int64_t{1} << 32;

// Raw file calls of the system, beside the file services under test.
#ifdef _WIN32
class RawFile {
  public:
    explicit RawFile(const std::string& name)
        : h_(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr)) {
        DWORD unused = 0;
        DeviceIoControl(h_, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
    }
    ~RawFile() { CloseHandle(h_); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;
    bool SetLength(std::int64_t length) {
        LARGE_INTEGER at;
        at.QuadPart = length;
        return SetFilePointerEx(h_, at, nullptr, FILE_BEGIN) && SetEndOfFile(h_);
    }
    std::int64_t Length() {
        LARGE_INTEGER size;
        return GetFileSizeEx(h_, &size) ? size.QuadPart : -1;
    }
    std::string ReadAt(std::int64_t offset, DWORD count) {
        std::string bytes(count, '\0');
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        ReadFile(h_, bytes.data(), count, &got, &at);
        bytes.resize(got);
        return bytes;
    }
    bool WriteAt(std::int64_t offset, const std::string& bytes) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD put = 0;
        return WriteFile(h_, bytes.data(), static_cast<DWORD>(bytes.size()), &put, &at) &&
               put == bytes.size();
    }

  private:
    HANDLE h_;
};
#else
class RawFile {
  public:
    explicit RawFile(const std::string& name) : fd_(open(name.c_str(), O_RDWR | O_CREAT, 0644)) {}
    ~RawFile() { close(fd_); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;
    bool SetLength(std::int64_t length) { return ftruncate(fd_, length) == 0; }
    std::int64_t Length() { return lseek(fd_, 0, SEEK_END); }
    std::string ReadAt(std::int64_t offset, std::size_t count) {
        std::string bytes(count, '\0');
        const ssize_t got = pread(fd_, bytes.data(), count, offset);
        bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return bytes;
    }
    bool WriteAt(std::int64_t offset, const std::string& bytes) {
        return pwrite(fd_, bytes.data(), bytes.size(), offset) ==
               static_cast<ssize_t>(bytes.size());
    }

  private:
    int fd_;
};
#endif

// The largest length that the file system takes for a file, found by setting
// lengths: past it every write fails, as on a full disk.
std::int64_t LargestLength(const std::string& probe) {
    RawFile file(probe);
    std::int64_t fits = k4GiB, fails = std::numeric_limits<std::int64_t>::max();
    if (!file.SetLength(fits))
        return -1;
    while (fails - fits > 1) {
        const std::int64_t middle = fits + (fails - fits) / 2;
        (file.SetLength(middle) ? fits : fails) = middle;
    }
    file.SetLength(0);
    return fits;
}

struct LargeTargetCase {
    const char* name;
    // Where the target ends before the run: from 4 GiB up, or from the file
    // system's largest length down.
    std::int64_t end;
    bool belowLargest;
    bool fails;
};

void PrintTo(const LargeTargetCase& c, std::ostream* os) {
    *os << c.name;
}

class LargeTarget : public ::testing::TestWithParam<LargeTargetCase> {
  protected:
    test::TempDir dir;
    test::ScopedCurrentDir cd{dir.path()};
    test::RecordingMessageSink boxes;
};

TEST_P(LargeTarget, IsAppendedAtItsEndOrLeftAsItWas) {
    const LargeTargetCase& c = GetParam();
    std::int64_t end = k4GiB + c.end;
    if (c.belowLargest) {
        const std::int64_t largest = LargestLength("probe.bin");
        ASSERT_GT(largest, k4GiB) << "the file system keeps no sparse file past 4 GiB";
        end = largest - c.end;
    }
    // 400 kB of output, six times the write buffer.
    std::string source;
    for (int i = 0; i < 20000; ++i)
        source += "a \"" + std::to_string(100000000 + i) + "\" b\r\n";
    test::WriteBytes("a.txt", source);
    const std::string tail = "tail\r\n";
    {
        RawFile target("out.txt");
        ASSERT_TRUE(target.SetLength(end));
        ASSERT_TRUE(target.WriteAt(end - static_cast<std::int64_t>(tail.size()), tail));
    }

    ExtractRequest r;
    r.szSource = "a.txt";
    r.szTarget = "out.txt";
    SetDelimiterField(r.szLeft, "\"");
    SetDelimiterField(r.szRight, "\"");
    RunRequest(r, nullptr);

    RawFile target("out.txt");
    const std::int64_t length = target.Length();
    if (c.fails) {
        EXPECT_EQ(boxes.Lines(),
                  (Lines{"Fehlermeldung: Fehler beim Lesen/Schreiben !",
                         "Fehlermeldung: Datei ex, nicht/Erzeugung fehlgeschlagen !"}));
        EXPECT_EQ(length, end) << "not cut back to where the append began";
        EXPECT_EQ(target.ReadAt(end - 6, 16), tail);
    } else {
        EXPECT_EQ(boxes.Lines(), (Lines{"Meldung: Operation abgechlossen"}));
        const std::int64_t output = 20000 * 11;
        ASSERT_EQ(length, end + output);
        EXPECT_EQ(target.ReadAt(end - 6, 17), tail + "100000000\r\n");
        EXPECT_EQ(target.ReadAt(end + output - 11, 16), "100019999\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LargeTarget,
    ::testing::Values(LargeTargetCase{"JustPast4GiB", 7, false, false},
                      LargeTargetCase{"At8GiBLessOne", k4GiB - 1, false, false},
                      // The write buffer's first flushes fit, a later one fails.
                      LargeTargetCase{"NearTheLargestLength", 200 * 1024 + 3, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sif
