#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "tests/support/lock_holder.h"
#include "tests/support/temp_dir.h"

namespace sif {
namespace {

using test::ReadBytes;
using test::WriteBytes;

constexpr UINT kError = static_cast<UINT>(HFILE_ERROR);

class FileIoTest : public ::testing::Test {
  protected:
    HFILE Open(const std::string& name, UINT style) {
        OFSTRUCT of{};
        return OpenFile(name.c_str(), &of, style);
    }
    test::TempDir dir;
    std::string file = dir.File("f.bin");
};

TEST_F(FileIoTest, OpenStyles) {
    EXPECT_EQ(Open(file, OF_READ), HFILE_ERROR);
    EXPECT_EQ(Open(file, OF_READWRITE), HFILE_ERROR);
    EXPECT_EQ(Open("", OF_READ), HFILE_ERROR);
    EXPECT_EQ(Open(dir.path().string(), OF_READ), HFILE_ERROR);
    EXPECT_EQ(Open(dir.path().string(), OF_READWRITE), HFILE_ERROR);

    HFILE created = Open(file, OF_CREATE | OF_READWRITE);
    ASSERT_NE(created, HFILE_ERROR);
    EXPECT_GT(created, -1);
    EXPECT_EQ(_lclose(created), 0);

    WriteBytes(file, "keep me");
    // Creating never replaces an existing file.
    EXPECT_EQ(Open(file, OF_CREATE | OF_READWRITE), HFILE_ERROR);
    EXPECT_EQ(ReadBytes(file), "keep me");
}

TEST_F(FileIoTest, ByteReadsAcrossBufferBoundariesGiveEveryByte) {
    std::string content;
    for (int i = 0; i < 200000; ++i) {
        content += static_cast<char>(i * 7 + i / 251);
    }
    WriteBytes(file, content);
    HFILE h = Open(file, OF_READ);
    std::string got;
    char c;
    while (_lread(h, &c, 1) == 1) {
        got += c;
    }
    EXPECT_EQ(_lread(h, &c, 1), 0u);
    _lclose(h);
    EXPECT_EQ(got, content);
}

TEST_F(FileIoTest, ReadUntilByteStopsAfterTheByteAtTheLimitOrAtTheEnd) {
    // Lines straddling the 64 KiB buffer, one without an end.
    std::string content = std::string(65530, 'a') + "\n" + std::string(20, 'b') + "\n" + "tail";
    WriteBytes(file, content);
    HFILE h = Open(file, OF_READ);
    char buf[70000];
    BOOL atEnd = TRUE;
    EXPECT_EQ(ReadUntilByte(h, buf, 100, '\n', &atEnd), 100u);
    EXPECT_FALSE(atEnd);
    EXPECT_EQ(ReadUntilByte(h, buf, sizeof buf, '\n', &atEnd), 65431u);
    EXPECT_EQ(buf[65430], '\n');
    EXPECT_EQ(ReadUntilByte(h, buf, sizeof buf, '\n', &atEnd), 21u);
    EXPECT_FALSE(atEnd);
    EXPECT_EQ(ReadUntilByte(h, buf, sizeof buf, '\n', &atEnd), 4u);
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(std::string(buf, 4), "tail");
    EXPECT_EQ(ReadUntilByte(h, buf, sizeof buf, '\n', &atEnd), 0u);
    EXPECT_TRUE(atEnd);
    _lclose(h);
}

TEST_F(FileIoTest, AppendSeekWriteAndTruncateBack) {
    WriteBytes(file, "0123456789");
    HFILE h = Open(file, OF_READWRITE);
    char two[2];
    EXPECT_EQ(_lread(h, two, 2), 2u);  // read ahead must not move the append
    EXPECT_EQ(_llseek(h, 0, FILE_END), 10);
    EXPECT_EQ(_lwrite(h, "abc", 3), 3u);
    EXPECT_TRUE(FlushFile(h));
    EXPECT_EQ(ReadBytes(file), "0123456789abc");
    EXPECT_EQ(_lwrite(h, "def", 3), 3u);
    EXPECT_TRUE(TruncateFile(h, 10));  // drops pending bytes too
    EXPECT_EQ(_lclose(h), 0);
    EXPECT_EQ(ReadBytes(file), "0123456789");
}

TEST_F(FileIoTest, LargeWritesStayInOrder) {
    HFILE h = Open(file, OF_CREATE | OF_READWRITE);
    std::string expected;
    for (int i = 0; i < 50; ++i) {
        std::string chunk(static_cast<std::size_t>(i * 4099 % 100000),
                          static_cast<char>('a' + i % 26));
        EXPECT_EQ(_lwrite(h, chunk.data(), static_cast<UINT>(chunk.size())), chunk.size());
        expected += chunk;
    }
    EXPECT_EQ(_lclose(h), 0);
    EXPECT_EQ(ReadBytes(file), expected);
}

TEST_F(FileIoTest, FailedWritesAreReportedAndSticky) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP();
    }
    HFILE h = Open("/dev/full", OF_READWRITE);
    ASSERT_NE(h, HFILE_ERROR);
    std::string big(70000, 'x');
    EXPECT_EQ(_lwrite(h, big.data(), static_cast<UINT>(big.size())), kError);
    EXPECT_EQ(_lwrite(h, "a", 1), kError);
    EXPECT_FALSE(FlushFile(h));
    EXPECT_EQ(_lclose(h), HFILE_ERROR);
}

TEST_F(FileIoTest, WritesThroughAReadOnlyHandleFailAndStaySticky) {
    WriteBytes(file, "keep");
    HFILE h = Open(file, OF_READ);
    ASSERT_NE(h, HFILE_ERROR);
    std::string big(70000, 'x');
    EXPECT_EQ(_lwrite(h, big.data(), static_cast<UINT>(big.size())), kError);
    EXPECT_EQ(_lwrite(h, "a", 1), kError);
    EXPECT_FALSE(FlushFile(h));
    EXPECT_EQ(_lclose(h), HFILE_ERROR);
    EXPECT_EQ(ReadBytes(file), "keep");
}

TEST_F(FileIoTest, SameFileByAnyName) {
    WriteBytes(file, "x");
    std::filesystem::create_hard_link(file, dir.File("hard"));
    std::vector<std::string> names{dir.File("hard")};
#ifndef _WIN32
    // Windows lets only privileged users make symbolic links.
    std::filesystem::create_symlink(file, dir.File("link"));
    names.push_back(dir.File("link"));
#endif
    HFILE a = Open(file, OF_READ);
    HFILE c = Open(dir.File("other"), OF_CREATE | OF_READWRITE);
    EXPECT_FALSE(IsSameFile(a, c));
    for (const std::string& name : names) {
        HFILE b = Open(name, OF_READWRITE);
        EXPECT_TRUE(IsSameFile(a, b)) << name;
        _lclose(b);
    }
    _lclose(a);
    _lclose(c);
}

TEST_F(FileIoTest, AnInterruptedAppendIsCutBack) {
    WriteBytes(file, "earlier");
    HFILE h = Open(file, OF_READWRITE);
    ASSERT_EQ(_llseek(h, 0, FILE_END), 7);
    SetCutBackOnInterrupt(h, 7);
    std::string big(70000, 'x');
    ASSERT_EQ(_lwrite(h, big.data(), static_cast<UINT>(big.size())), big.size());
    ASSERT_EQ(_lwrite(h, "pending", 7), 7u);
    CutBackInterruptedAppend();
    EXPECT_EQ(ReadBytes(file), "earlier");
}

TEST_F(FileIoTest, ClosingTheFileEndsItsCutBack) {
    HFILE first = Open(file, OF_CREATE | OF_READWRITE);
    SetCutBackOnInterrupt(first, 0);
    _lwrite(first, "done", 4);
    EXPECT_EQ(_lclose(first), 0);
    // The next file may get the same handle underneath.
    WriteBytes(dir.File("next"), "next");
    HFILE next = Open(dir.File("next"), OF_READWRITE);
    CutBackInterruptedAppend();
    _lclose(next);
    EXPECT_EQ(ReadBytes(file), "done");
    EXPECT_EQ(ReadBytes(dir.File("next")), "next");
}

class FileCheckingSink : public MessageBoxSink {
  public:
    explicit FileCheckingSink(std::string file) : file_(std::move(file)) {}
    int Show(HWND, const char*, const char*, UINT) override {
        seen = ReadBytes(file_);
        return IDOK;
    }
    std::string seen;

  private:
    std::string file_;
};

TEST_F(FileIoTest, PendingOutputIsOnDiskWhileABoxIsOpen) {
    HFILE h = Open(file, OF_CREATE | OF_READWRITE);
    _lwrite(h, "before the box", 14);
    FileCheckingSink sink(file);
    MessageBoxSink* previous = SetMessageBoxSink(&sink);
    MessageBoxA(nullptr, "text", "caption", MB_OK);
    SetMessageBoxSink(previous);
    _lclose(h);
    EXPECT_EQ(sink.seen, "before the box");
}

TEST_F(FileIoTest, WritesGoToTheEndAsItIsWhenTheyHappen) {
    // Another writer's bytes between two of ours are never written over,
    // and a read before a write does not move where the write goes.
    WriteBytes(file, "abcdefghij");
    HFILE ours = Open(file, OF_READWRITE);
    HFILE theirs = Open(file, OF_READWRITE);
    ASSERT_NE(ours, HFILE_ERROR);
    ASSERT_NE(theirs, HFILE_ERROR);
    char three[3];
    ASSERT_EQ(_lread(ours, three, 3), 3u);
    ASSERT_EQ(_lwrite(ours, "XY", 2), 2u);
    ASSERT_TRUE(FlushFile(ours));
    ASSERT_EQ(_lwrite(theirs, "theirs", 6), 6u);
    ASSERT_TRUE(FlushFile(theirs));
    ASSERT_EQ(_lwrite(ours, "Z", 1), 1u);
    EXPECT_EQ(_lclose(ours), 0);
    EXPECT_EQ(_lclose(theirs), 0);
    EXPECT_EQ(ReadBytes(file), "abcdefghijXYtheirsZ");
}

TEST_F(FileIoTest, TheTargetLockIsHeldUntilClose) {
    WriteBytes(file, "x");
    HFILE h = Open(file, OF_READWRITE);
    ASSERT_TRUE(LockForAppend(h));
    {
        test::LockHolder other(file);
        EXPECT_FALSE(other.Held());
    }
    EXPECT_EQ(_lclose(h), 0);
    test::LockHolder after(file);
    EXPECT_TRUE(after.Held());
}

}  // namespace
}  // namespace sif
