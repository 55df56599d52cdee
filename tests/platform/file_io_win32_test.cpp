// File services on Windows: the names that reach one file, devices, long
// names, read-only and locked files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_io.h"
#include "tests/support/temp_dir.h"

namespace sif {
namespace {

using test::ReadBytes;
using test::WriteBytes;

constexpr UINT kStyles[] = {OF_READ, OF_READWRITE, OF_CREATE | OF_READWRITE};

HFILE Open(const std::string& name, UINT style) {
    OFSTRUCT of{};
    return OpenFile(name.c_str(), &of, style);
}

class WindowsFileIoTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    // Long enough to have a different 8.3 name.
    std::string file = dir.File("Long target name.txt");
};

TEST_F(WindowsFileIoTest, EveryNameOfOneFileIsTheSameFile) {
    WriteBytes(file, "x");
    ASSERT_TRUE(CreateHardLinkA(dir.File("hard.txt").c_str(), file.c_str(), nullptr));
    char shortName[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(file.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(file, shortName);
    test::ScopedCurrentDir here(dir.path());
    const std::string folder = dir.path().filename().string();
    const std::vector<std::string> names{"LONG TARGET NAME.TXT",
                                         "long target name.txt",
                                         ".\\Long target name.txt",
                                         "..\\" + folder + "\\Long target name.txt",
                                         "hard.txt",
                                         shortName};

    HFILE original = Open(file, OF_READ);
    ASSERT_NE(original, HFILE_ERROR);
    for (const std::string& name : names) {
        HFILE other = Open(name, OF_READWRITE);
        ASSERT_NE(other, HFILE_ERROR) << name;
        EXPECT_TRUE(IsSameFile(original, other)) << name;
        _lclose(other);
    }
    HFILE different = Open("different.txt", OF_CREATE | OF_READWRITE);
    EXPECT_FALSE(IsSameFile(original, different));
    _lclose(different);
    _lclose(original);
}

TEST(WindowsDevices, AreRefusedInEveryStyle) {
    const std::string pipeName =
        "\\\\.\\pipe\\sifteron-test-" + std::to_string(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE,
                                   PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    for (const std::string& name : {std::string("NUL"), std::string("nul.txt"), std::string("CON"),
                                    std::string("COM1"), pipeName}) {
        for (UINT style : kStyles) {
            OFSTRUCT of{};
            EXPECT_EQ(OpenFile(name.c_str(), &of, style), HFILE_ERROR) << name << " " << style;
            EXPECT_NE(of.nErrCode, 0) << name << " " << style;
        }
    }
    CloseHandle(pipe);
}

TEST_F(WindowsFileIoTest, NamesOverTheWindowsLimitAreRefused) {
    const std::string folder = dir.File(std::string(120, 'd'));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string name = folder + "\\" + std::string(150, 'n') + ".txt";
    ASSERT_GT(name.size(), static_cast<std::size_t>(MAX_PATH));
    for (UINT style : kStyles) {
        EXPECT_EQ(Open(name, style), HFILE_ERROR) << style;
    }
}

TEST_F(WindowsFileIoTest, ReadOnlyFilesOpenOnlyForReading) {
    WriteBytes(file, "keep");
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Open(file, OF_READWRITE), HFILE_ERROR);
    EXPECT_EQ(Open(file, OF_CREATE | OF_READWRITE), HFILE_ERROR);
    HFILE reading = Open(file, OF_READ);
    EXPECT_NE(reading, HFILE_ERROR);
    _lclose(reading);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(file), "keep");
}

TEST_F(WindowsFileIoTest, AFileLockedByAnotherHandleDoesNotOpen) {
    WriteBytes(file, "keep");
    HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    for (UINT style : kStyles) {
        EXPECT_EQ(Open(file, style), HFILE_ERROR) << style;
    }
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(file), "keep");
}

TEST_F(WindowsFileIoTest, NoWriteFollowsTheCutBack) {
    // The console handler cuts on its own thread while the main thread may
    // still be writing.
    HFILE h = Open(file, OF_CREATE | OF_READWRITE);
    SetCutBackOnInterrupt(h, 0);
    ASSERT_EQ(_lwrite(h, "before", 6), 6u);
    CutBackInterruptedAppend();
    _lwrite(h, "after", 5);
    EXPECT_FALSE(FlushFile(h));
    _lclose(h);
    EXPECT_EQ(ReadBytes(file), "");
}

}  // namespace
}  // namespace sif
