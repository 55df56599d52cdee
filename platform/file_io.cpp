// The file services on top of the system's raw files: one read and one write
// buffer per open file, so that byte-sized calls stay cheap. A file opened for
// reading that starts with a byte-order mark is read without it, UTF-16 as
// UTF-8; a file opened for writing that starts with a UTF-16 mark gets what is
// written in that UTF-16.
#include "platform/file_io.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/os_file.h"
#include "platform/text_encoding.h"

namespace sif {

namespace {

constexpr UINT kBufferSize = 64 * 1024;
constexpr UINT kError = static_cast<UINT>(HFILE_ERROR);
#ifdef _WIN32
constexpr unsigned short kReadFault = ERROR_READ_FAULT;
#else
constexpr unsigned short kReadFault = EIO;
#endif
// The read buffer of a UTF-16 file holds one buffer's bytes decoded.
constexpr std::size_t kDecodedSize = Utf16Decoder::Room(kBufferSize);
// Written bytes are encoded this many at a time, into an empty write buffer.
constexpr UINT kEncodePiece = kBufferSize / 2 - 3;
static_assert(Utf16Encoder::Room(kEncodePiece) <= kBufferSize);

struct OpenFileState {
    os::File file = os::kNoFile;
    std::unique_ptr<char[]> readBuffer;
    UINT readPos = 0;
    UINT readLen = 0;
    std::unique_ptr<char[]> writeBuffer;
    UINT writeLen = 0;
    bool writeFailed = false;  // sticky until the file is cut back
    bool standardStream = false;
    // A read found the end. A terminal tells it only once (Ctrl-D), so it is
    // kept until the position moves, instead of reading again and waiting.
    bool endSeen = false;
    bool lookForMark = false;  // opened for reading, nothing read yet
    // A UTF-16 file being read: its bytes come through rawBuffer.
    std::unique_ptr<Utf16Decoder> decoder;
    std::unique_ptr<char[]> rawBuffer;
    std::unique_ptr<Utf16Encoder> encoder;  // a UTF-16 file being written
};

struct AdoptedName {
    std::string name;
    StandardStream stream;
};

// Open files by handle; a freed slot is reused.
std::vector<std::unique_ptr<OpenFileState>> g_table;

std::vector<AdoptedName> g_adoptedNames;

AppendLockWait g_lockWait;

const AdoptedName* Adopted(const char* name) {
    for (const AdoptedName& a : g_adoptedNames) {
        if (name != nullptr && a.name == name) {
            return &a;
        }
    }
    return nullptr;
}

OpenFileState* Lookup(HFILE h) {
    if (h < 0 || static_cast<std::size_t>(h) >= g_table.size()) {
        return nullptr;
    }
    return g_table[static_cast<std::size_t>(h)].get();
}

HFILE Register(os::File file, bool standardStream) {
    auto state = std::make_unique<OpenFileState>();
    state->file = file;
    state->standardStream = standardStream;
    for (std::size_t i = 0; i < g_table.size(); ++i) {
        if (!g_table[i]) {
            g_table[i] = std::move(state);
            return static_cast<HFILE>(i);
        }
    }
    g_table.push_back(std::move(state));
    return static_cast<HFILE>(g_table.size() - 1);
}

// A UTF-16 mark at the start of a file that may be written decides how.
// Pipes and terminals have no start to look at. False when the start could
// not be read: what is written would not know its encoding.
bool FindWriteEncoding(OpenFileState& f) {
    char head[kLongestTextMark];
    if (os::Seek(f.file, 0, FILE_CURRENT) != 0) {
        return true;
    }
    const long got = os::Read(f.file, head, sizeof head);
    if (got < 0) {
        return false;
    }
    const TextMark mark = FindTextMark(head, got > 0 ? static_cast<std::size_t>(got) : 0, true);
    if (os::Seek(f.file, 0, FILE_BEGIN) == 0 &&
        (mark == TextMark::Utf16Le || mark == TextMark::Utf16Be)) {
        f.encoder = std::make_unique<Utf16Encoder>(mark == TextMark::Utf16Be);
    }
    return true;
}

bool Flush(OpenFileState& f) {
    if (f.writeFailed) {
        return false;
    }
    if (f.writeLen > 0) {
        const bool ok = os::WriteAll(f.file, f.writeBuffer.get(), f.writeLen);
        f.writeLen = 0;
        if (!ok) {
            f.writeFailed = true;
            return false;
        }
    }
    return true;
}

// Room for `need` more bytes in the write buffer; false when pending output
// could not be written.
bool MakeRoom(OpenFileState& f, std::size_t need) {
    if (!f.writeBuffer) {
        f.writeBuffer = std::make_unique<char[]>(kBufferSize);
    }
    return f.writeLen + need <= kBufferSize || Flush(f);
}

// Encodes written bytes into the write buffer, a piece at a time.
bool WriteEncoded(OpenFileState& f, const char* bytes, UINT count) {
    do {
        const UINT piece = std::min(count, kEncodePiece);
        if (!MakeRoom(f, Utf16Encoder::Room(piece))) {
            return false;
        }
        f.writeLen +=
            static_cast<UINT>(f.encoder->Encode(bytes, piece, f.writeBuffer.get() + f.writeLen));
        bytes += piece;
        count -= piece;
    } while (count > 0);
    return true;
}

// Gives back read-ahead bytes so the file's position is the logical one.
// Decoded text has no such position: a UTF-16 file is read forward only.
bool DropReadAhead(OpenFileState& f) {
    if (f.decoder) {
        return false;
    }
    const UINT unread = f.readLen - f.readPos;
    f.readPos = f.readLen = 0;
    f.endSeen = false;
    return unread == 0 || os::Seek(f.file, -static_cast<INT64>(unread), FILE_CURRENT) >= 0;
}

// Reads and decodes into `out` (kDecodedSize bytes) until some text is
// there: its length, 0 at the end, -1 on error and when the file is not the
// UTF-16 that its mark says.
long ReadDecoded(OpenFileState& f, char* out) {
    while (!f.decoder->failed()) {
        const long got = os::Read(f.file, f.rawBuffer.get(), kBufferSize);
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            f.decoder->Finish();
            return f.decoder->failed() ? -1 : 0;
        }
        const std::size_t n =
            f.decoder->Decode(f.rawBuffer.get(), static_cast<std::size_t>(got), out);
        if (n > 0) {
            return static_cast<long>(n);
        }
    }
    return -1;
}

long RefillDecoded(OpenFileState& f) {
    const long got = ReadDecoded(f, f.readBuffer.get());
    f.readPos = 0;
    f.readLen = got > 0 ? static_cast<UINT>(got) : 0;
    return got;
}

long Refill(OpenFileState& f);

// The first read of a file opened for reading: a mark at its start decides
// how the rest is read. Only as many bytes as a mark needs are read, so a
// mark split between two reads of a pipe is found too.
long RefillAtStart(OpenFileState& f) {
    f.lookForMark = false;
    char head[kLongestTextMark];
    std::size_t have = 0;
    bool end = false;
    TextMark mark;
    while ((mark = FindTextMark(head, have, end)) == TextMark::Undecided) {
        const long got = os::Read(f.file, head + have, static_cast<UINT>(sizeof head - have));
        if (got < 0) {
            return -1;
        }
        end = got == 0;
        have += static_cast<std::size_t>(got);
    }
    const std::size_t skip = TextMarkLength(mark);
    if (mark == TextMark::Utf16Le || mark == TextMark::Utf16Be) {
        f.decoder = std::make_unique<Utf16Decoder>(mark == TextMark::Utf16Be);
        f.rawBuffer = std::make_unique<char[]>(kBufferSize);
        f.readBuffer = std::make_unique<char[]>(kDecodedSize);
        // At most half a code unit, kept for the next read.
        f.decoder->Decode(head + skip, have - skip, f.readBuffer.get());
        if (end) {
            f.decoder->Finish();
            return f.decoder->failed() ? -1 : 0;
        }
        return RefillDecoded(f);
    }
    f.readPos = 0;
    f.readLen = static_cast<UINT>(have - skip);
    if (f.readLen == 0) {
        return end ? 0 : Refill(f);
    }
    if (!f.readBuffer) {
        f.readBuffer = std::make_unique<char[]>(kBufferSize);
    }
    std::memcpy(f.readBuffer.get(), head + skip, f.readLen);
    f.endSeen = end;
    return f.readLen;
}

// Refills the read buffer: bytes available, 0 at the end, -1 on error.
long Refill(OpenFileState& f) {
    if (f.lookForMark) {
        return RefillAtStart(f);
    }
    if (f.decoder) {
        return RefillDecoded(f);
    }
    if (!f.readBuffer) {
        f.readBuffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    }
    const long got = os::Read(f.file, f.readBuffer.get(), kBufferSize);
    f.readPos = 0;
    f.readLen = got > 0 ? static_cast<UINT>(got) : 0;
    return got;
}

// Reads at most `max` bytes into `out`, ending after `stop` when it is a byte
// value (0-255). *atEnd tells that the end of the file cut the read short.
UINT ReadBuffered(OpenFileState& f, char* out, UINT max, int stop, BOOL* atEnd) {
    *atEnd = FALSE;
    UINT done = 0;
    while (done < max) {
        if (f.readPos == f.readLen) {
            if (f.endSeen) {
                *atEnd = TRUE;
                break;
            }
            long got;
            if (stop < 0 && max - done >= kBufferSize && !f.lookForMark && !f.decoder) {
                // Big plain reads bypass the buffer: one copy fewer.
                got = os::Read(f.file, out + done, max - done);
                if (got > 0) {
                    done += static_cast<UINT>(got);
                    continue;
                }
            } else if (stop < 0 && max - done >= kDecodedSize && f.decoder) {
                // Likewise decoded straight into place.
                got = ReadDecoded(f, out + done);
                if (got > 0) {
                    done += static_cast<UINT>(got);
                    continue;
                }
            } else {
                got = Refill(f);
            }
            if (got < 0) {
                return kError;
            }
            if (got == 0) {
                f.endSeen = true;
                *atEnd = TRUE;
                break;
            }
        }
        const char* from = f.readBuffer.get() + f.readPos;
        const UINT avail = std::min(max - done, f.readLen - f.readPos);
        const void* hit = stop >= 0 ? std::memchr(from, stop, avail) : nullptr;
        const UINT take = hit ? static_cast<UINT>(static_cast<const char*>(hit) - from) + 1 : avail;
        std::memcpy(out + done, from, take);
        f.readPos += take;
        done += take;
        if (hit) {
            break;
        }
    }
    return done;
}

}  // namespace

HFILE OpenFile(const char* name, OFSTRUCT* of, UINT style) {
    unsigned error = 0;
    const AdoptedName* adopted = Adopted(name);
    const os::File file = adopted != nullptr ? os::OpenStandard(adopted->stream, &error)
                                             : os::Open(name, style, &error);
    if (of != nullptr) {
        of->cBytes = sizeof(OFSTRUCT);
        of->nErrCode = static_cast<unsigned short>(file == os::kNoFile ? error : 0);
    }
    if (file == os::kNoFile) {
        return HFILE_ERROR;
    }
    const HFILE h = Register(file, adopted != nullptr);
    OpenFileState& f = *Lookup(h);
    if (adopted != nullptr) {
        // Standard output gets bytes as they are: a pipe or a terminal has no
        // start to look at.
        f.lookForMark = adopted->stream == StandardStream::Input;
    } else if ((style & (OF_READWRITE | OF_CREATE)) == 0) {
        f.lookForMark = true;
    } else if ((style & OF_CREATE) == 0 && !FindWriteEncoding(f)) {
        os::Close(f.file);
        g_table[static_cast<std::size_t>(h)].reset();
        if (of != nullptr) {
            of->nErrCode = kReadFault;
        }
        return HFILE_ERROR;
    }
    return h;
}

UINT _lread(HFILE h, void* buffer, UINT count) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr || count == kError || !Flush(*f)) {
        return kError;
    }
    BOOL atEnd;
    return ReadBuffered(*f, static_cast<char*>(buffer), count, -1, &atEnd);
}

UINT ReadUntilByte(HFILE h, char* buffer, UINT max, char stop, BOOL* atEnd) {
    *atEnd = FALSE;
    OpenFileState* f = Lookup(h);
    if (f == nullptr || !Flush(*f)) {
        return kError;
    }
    return ReadBuffered(*f, buffer, max, static_cast<unsigned char>(stop), atEnd);
}

UINT _lwrite(HFILE h, const void* buffer, UINT count) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr || count == kError || f->writeFailed || !DropReadAhead(*f)) {
        return kError;
    }
    const char* bytes = static_cast<const char*>(buffer);
    if (f->encoder) {
        return WriteEncoded(*f, bytes, count) ? count : kError;
    }
    if (f->writeLen + count > kBufferSize) {
        if (!Flush(*f)) {
            return kError;
        }
        if (count >= kBufferSize) {
            if (!os::WriteAll(f->file, bytes, count)) {
                f->writeFailed = true;
                return kError;
            }
            return count;
        }
    }
    if (!f->writeBuffer) {
        f->writeBuffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    }
    std::memcpy(f->writeBuffer.get() + f->writeLen, bytes, count);
    f->writeLen += count;
    return count;
}

INT64 _llseek(HFILE h, INT64 offset, int origin) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr || !Flush(*f) || !DropReadAhead(*f)) {
        return -1;
    }
    const INT64 position = os::Seek(f->file, offset, origin);
    // A mark counts only at the start.
    f->lookForMark = f->lookForMark && position == 0;
    return position;
}

HFILE _lclose(HFILE h) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr) {
        return HFILE_ERROR;
    }
    if (f->encoder && MakeRoom(*f, Utf16Encoder::Room(0))) {
        // A sequence that the end of the output cut short.
        f->writeLen += static_cast<UINT>(f->encoder->Finish(f->writeBuffer.get() + f->writeLen));
    }
    const bool flushed = Flush(*f);
    const bool closed = os::Close(f->file);
    g_table[static_cast<std::size_t>(h)].reset();
    return flushed && closed ? 0 : HFILE_ERROR;
}

BOOL FlushFile(HFILE h) {
    OpenFileState* f = Lookup(h);
    return f != nullptr && Flush(*f) ? TRUE : FALSE;
}

void FlushAllFiles() {
    for (auto& f : g_table) {
        if (f) {
            Flush(*f);
        }
    }
}

BOOL TruncateFile(HFILE h, INT64 length) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr) {
        return FALSE;
    }
    f->writeLen = 0;
    if (f->encoder) {
        f->encoder->Reset();
    }
    f->readPos = f->readLen = 0;
    f->endSeen = false;
    f->writeFailed = false;
    return os::CutTo(f->file, length) ? TRUE : FALSE;
}

void SetAppendLockWait(const AppendLockWait& wait) {
    g_lockWait = wait;
}

BOOL LockForAppend(HFILE h) {
    OpenFileState* f = Lookup(h);
    if (f == nullptr) {
        return FALSE;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    bool told = false;
    // Polled: a blocking lock could neither tell the user after a second
    // nor give up.
    while (os::TryLockTarget(f->file) == os::LockState::Busy) {
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (g_lockWait.giveUpAfterMs >= 0 && waited >= g_lockWait.giveUpAfterMs) {
            return FALSE;
        }
        if (!told && waited >= 1000 && g_lockWait.onLongWait != nullptr) {
            g_lockWait.onLongWait();
            told = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return TRUE;
}

BOOL IsSameFile(HFILE a, HFILE b) {
    OpenFileState* fa = Lookup(a);
    OpenFileState* fb = Lookup(b);
    return fa != nullptr && fb != nullptr && os::Same(fa->file, fb->file) ? TRUE : FALSE;
}

void AdoptStandardStream(const char* name, StandardStream stream) {
    g_adoptedNames.push_back({name, stream});
}

BOOL IsStandardStream(HFILE h) {
    OpenFileState* f = Lookup(h);
    return f != nullptr && f->standardStream ? TRUE : FALSE;
}

void SetCutBackOnInterrupt(HFILE h, INT64 length) {
    OpenFileState* f = Lookup(h);
    os::SetCutBack(f != nullptr ? f->file : os::kNoFile, length);
}

}  // namespace sif
