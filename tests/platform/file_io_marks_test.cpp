// Files that start with a byte-order mark, read and written through the file
// services.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "tests/support/fault_plan.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <future>
#include <thread>
#endif

namespace sif {
namespace {

using test::ReadBytes;
using test::WriteBytes;

constexpr UINT kError = static_cast<UINT>(HFILE_ERROR);

// Text in both forms from its code points, made here without the code under
// test.
struct Text {
    std::string utf8;
    std::string le;  // UTF-16LE, no mark
};

void AddUnit(std::string* le, unsigned unit) {
    *le += static_cast<char>(unit & 0xFF);
    *le += static_cast<char>(unit >> 8);
}

void Add(Text* t, unsigned cp) {
    if (cp < 0x80) {
        t->utf8 += static_cast<char>(cp);
    } else if (cp < 0x800) {
        t->utf8 += {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))};
    } else if (cp < 0x10000) {
        t->utf8 += {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (cp & 0x3F))};
    } else {
        t->utf8 +=
            {static_cast<char>(0xF0 | cp >> 18), static_cast<char>(0x80 | (cp >> 12 & 0x3F)),
             static_cast<char>(0x80 | (cp >> 6 & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    }
    if (cp < 0x10000) {
        AddUnit(&t->le, cp);
    } else {
        AddUnit(&t->le, 0xD800 + ((cp - 0x10000) >> 10));
        AddUnit(&t->le, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

// Lines of ASCII, umlauts, the euro sign and a character outside the BMP,
// long enough to cross several read buffers at odd places.
Text LongText() {
    Text t;
    const unsigned mix[] = {'"', 0xE4, 0x20AC, 0x1F600, 'x', '\r', '\n'};
    for (unsigned i = 0; t.le.size() < 300000; ++i) {
        Add(&t, 'a' + i % 26);
        if (i % 7 == 0) {
            Add(&t, mix[i / 7 % 7]);
        }
    }
    return t;
}

std::string Be(const std::string& le) {
    std::string be = le;
    for (std::size_t i = 0; i + 1 < be.size(); i += 2) {
        std::swap(be[i], be[i + 1]);
    }
    return be;
}

class FileMarksTest : public ::testing::Test {
  protected:
    HFILE Open(const std::string& name, UINT style) {
        OFSTRUCT of{};
        return OpenFile(name.c_str(), &of, style);
    }

    struct Read {
        std::string bytes;
        bool failed = false;
    };

    // Every byte that reads of `chunk` bytes give, up to the end or an error;
    // chunk 0 reads lines.
    Read ReadAll(const std::string& name, UINT chunk) {
        HFILE h = Open(name, OF_READ);
        EXPECT_NE(h, HFILE_ERROR);
        Read r;
        std::vector<char> buffer(chunk == 0 ? 300 : chunk);
        for (;;) {
            BOOL atEnd = FALSE;
            const UINT got = chunk == 0 ? ReadUntilByte(h, buffer.data(), 300, '\n', &atEnd)
                                        : _lread(h, buffer.data(), chunk);
            if (got == kError) {
                r.failed = true;
                break;
            }
            r.bytes.append(buffer.data(), got);
            if (got == 0 || atEnd) {
                break;
            }
        }
        EXPECT_EQ(_lclose(h), 0);
        return r;
    }

    test::TempDir dir;
    std::string file = dir.File("f.txt");
};

struct ReadCase {
    const char* name;
    std::string file;
    std::string read;
    bool failed = false;
};

TEST_F(FileMarksTest, ReadsGiveTheTextWithoutTheMarkInEveryReadSize) {
    const Text t = LongText();
    const std::string nul("a\0b", 3);
    const ReadCase cases[] = {
        {"utf-16le", "\xFF\xFE" + t.le, t.utf8},
        {"utf-16be", "\xFE\xFF" + Be(t.le), t.utf8},
        {"utf-8 mark", "\xEF\xBB\xBF" + t.utf8, t.utf8},
        {"utf-16le nul", "\xFF\xFE" + std::string("a\0\0\0b\0", 6), nul},
        {"utf-16le mark only", "\xFF\xFE", ""},
        {"utf-16be mark only", "\xFE\xFF", ""},
        {"utf-8 mark only", "\xEF\xBB\xBF", ""},
        {"odd last byte", "\xFF\xFE" + t.le + "x", t.utf8, true},
        {"mark and one byte",
         "\xFE\xFF"
         "x",
         "", true},
        {"lone high at the end", "\xFF\xFE" + t.le + std::string("\0\xD8", 2), t.utf8, true},
        {"half a utf-16 mark", "\xFF", "\xFF"},
        {"two thirds of a utf-8 mark", "\xEF\xBBx", "\xEF\xBBx"},
        {"a mark after the start", "a\xFF\xFE\xEF\xBB\xBF", "a\xFF\xFE\xEF\xBB\xBF"},
        {"no mark", t.utf8, t.utf8},
    };
    for (const ReadCase& c : cases) {
        WriteBytes(file, c.file);
        for (UINT chunk : {0u, 1u, 4093u, 128u * 1024u}) {
            SCOPED_TRACE(std::string(c.name) + ", reads of " + std::to_string(chunk));
            const Read r = ReadAll(file, chunk);
            EXPECT_EQ(r.failed, c.failed);
            // A read that meets the fault gives nothing of its own text.
            const std::string expected =
                c.failed ? c.read.substr(0, std::min(r.bytes.size(), c.read.size())) : c.read;
            EXPECT_TRUE(r.bytes == expected) << r.bytes.size() << " bytes, not " << c.read.size();
        }
    }
}

TEST_F(FileMarksTest, AFileOpenedForWritingIsReadAsItIs) {
    WriteBytes(file, "\xEF\xBB\xBFx");
    HFILE h = Open(file, OF_READWRITE);
    char four[4];
    EXPECT_EQ(_lread(h, four, 4), 4u);
    EXPECT_EQ(std::string(four, 4), "\xEF\xBB\xBFx");
    _lclose(h);
}

TEST_F(FileMarksTest, ADecodedFileIsReadForwardOnly) {
    WriteBytes(file, std::string("\xFF\xFE"
                                 "a\0b\0",
                                 6));
    HFILE h = Open(file, OF_READ);
    char c;
    ASSERT_EQ(_lread(h, &c, 1), 1u);
    // Its decoded bytes have no position in the file to go back to.
    EXPECT_EQ(_llseek(h, 0, FILE_CURRENT), -1);
    EXPECT_EQ(_lwrite(h, "x", 1), kError);
    _lclose(h);
}

TEST_F(FileMarksTest, AMarkCountsOnlyAtTheStart) {
    WriteBytes(file,
               "ab\xFF\xFE"
               "c");
    HFILE h = Open(file, OF_READ);
    ASSERT_EQ(_llseek(h, 2, FILE_BEGIN), 2);
    char three[3];
    ASSERT_EQ(_lread(h, three, 3), 3u);
    EXPECT_EQ(std::string(three, 3),
              "\xFF\xFE"
              "c");
    _lclose(h);
}

std::string LeOf(const std::string& ascii) {
    std::string le;
    for (char c : ascii) {
        AddUnit(&le, static_cast<unsigned char>(c));
    }
    return le;
}

struct WriteCase {
    const char* name;
    std::string before;
    std::string written;  // how the bytes written reach the file
};

TEST_F(FileMarksTest, AUtf16FileGetsWhatIsWrittenInItsOrder) {
    const Text t = LongText();
    // A byte of no sequence, and the end of the output cutting one short.
    const std::string written = t.utf8 + "\xFC|\xE2\x82";
    const std::string tail = LeOf("\xFC|\xE2\x82");
    const WriteCase cases[] = {
        {"utf-16le", "\xFF\xFE" + LeOf("old"), t.le + tail},
        {"utf-16be", "\xFE\xFF" + Be(LeOf("old")), Be(t.le + tail)},
        {"utf-8 mark",
         "\xEF\xBB\xBF"
         "old",
         written},
        {"no mark", "old", written},
        {"empty", "", written},
        {"half a utf-16 mark", "\xFF", written},
    };
    for (const WriteCase& c : cases) {
        for (std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{70000}}) {
            SCOPED_TRACE(std::string(c.name) + ", writes of " + std::to_string(piece));
            WriteBytes(file, c.before);
            HFILE h = Open(file, OF_READWRITE);
            ASSERT_EQ(_llseek(h, 0, FILE_END), static_cast<INT64>(c.before.size()));
            for (std::size_t at = 0; at < written.size(); at += piece) {
                const UINT n = static_cast<UINT>(std::min(piece, written.size() - at));
                ASSERT_EQ(_lwrite(h, written.data() + at, n), n);
            }
            EXPECT_EQ(_lclose(h), 0);
            EXPECT_TRUE(ReadBytes(file) == c.before + c.written);
        }
    }
}

TEST_F(FileMarksTest, AUtf16FileIsCutBackToItsBytes) {
    const std::string before = "\xFF\xFE" + LeOf("old");
    WriteBytes(file, before);
    HFILE h = Open(file, OF_READWRITE);
    const INT64 end = _llseek(h, 0, FILE_END);
    const std::string big(100000, 'x');
    ASSERT_EQ(_lwrite(h, big.data(), static_cast<UINT>(big.size())), big.size());
    ASSERT_EQ(_lwrite(h, "\xE2\x82", 2), 2u);
    EXPECT_TRUE(TruncateFile(h, end));
    // The sequence begun before the cut is gone with it.
    ASSERT_EQ(_lwrite(h, "\xAC", 1), 1u);
    EXPECT_EQ(_lclose(h), 0);
    EXPECT_EQ(ReadBytes(file), before + LeOf("\xAC"));
}

// A file whose start cannot be read is not opened for writing: what is
// written would not know whether it is to go out as UTF-16.
TEST_F(FileMarksTest, AFileWhoseStartCannotBeReadIsNotOpenedForWriting) {
    for (const std::string& before : {"\xFF\xFE" + LeOf("old"), std::string("old")}) {
        SCOPED_TRACE(before);
        WriteBytes(file, before);
        test::FaultPlan plan;
        plan.At(os::Call::Read, 1, os::Fault::Fail);
        OFSTRUCT of{};
        EXPECT_EQ(OpenFile(file.c_str(), &of, OF_READWRITE), HFILE_ERROR);
        EXPECT_NE(of.nErrCode, 0);
        EXPECT_EQ(plan.Calls(os::Call::Read), 1);
        EXPECT_EQ(ReadBytes(file), before);
    }
}

#ifndef _WIN32
// The first read of a pipe gets the first half of the mark only.
TEST_F(FileMarksTest, AMarkSplitBetweenTwoReadsOfAPipe) {
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reader = std::async(std::launch::async, [&] { return ReadAll(fifo, 4096); });
    const int w = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(w, 0);
    ASSERT_EQ(::write(w, "\xFF", 1), 1);
    // Until the reader has taken that byte.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int waiting = 1;
    while (::ioctl(w, FIONREAD, &waiting) == 0 && waiting > 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(waiting, 0) << "the reader never took the first byte";
    ASSERT_EQ(::write(w,
                      "\xFE"
                      "a\0\xE4",
                      5),
              5);
    ::close(w);
    const Read r = reader.get();
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(r.bytes, "a\xC3\xA4");
}
#endif

}  // namespace
}  // namespace sif
