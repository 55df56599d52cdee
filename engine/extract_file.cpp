#include "engine/extract_file.h"

#include <cstring>
#include <string>

#include "engine/classify_resource_line.h"
#include "engine/extract_delimited.h"
#include "engine/extract_request.h"
#include "engine/language.h"
#include "engine/messages.h"
#include "engine/operation_files.h"
#include "engine/strip_delimited.h"

namespace sif {

char g_szLine[kLineBufferSize];

namespace {

constexpr UINT kReadError = static_cast<UINT>(HFILE_ERROR);

struct LineRequest {
    char left;
    char right;
    int kind;
    int positive;
    std::string sourceTail;  // resource lines end in TAB source CR LF
    std::string record;      // one resource line's output, reused
};

// Filters the line in g_szLine (stored length n) and appends what it keeps.
BOOL ProcessLine(const OperationFiles& files, LineRequest& r, int n) {
    if (r.positive != 1) {
        const int kept = StripDelimited(g_szLine, r.left, r.right, n + 1);
        return kept <= 0 || WriteTarget(files, g_szLine, static_cast<UINT>(kept));
    }
    ExtractDelimited(g_szLine, r.left, r.right, n + 1, r.kind);
    const std::size_t length = std::strlen(g_szLine);
    if (length == 0) {
        return TRUE;
    }
    if (r.kind != KindResource) {
        // The result is at most 499 bytes, so its CR LF fits behind it and
        // the line goes out in one write.
        std::memcpy(g_szLine + length, "\r\n", 3);
        return WriteTarget(files, g_szLine, static_cast<UINT>(length + 2));
    }
    // Text, TAB keyword, TAB source CR LF in one write, so that a record is
    // never split. The source name is used whole, so it does not go through
    // the line buffer.
    r.record.assign(g_szLine, length);
    r.record += '\t';
    r.record.append(g_szKeyword, strnlen(g_szKeyword, kKeywordSize - 1));
    r.record += r.sourceTail;
    return WriteTarget(files, r.record.data(), static_cast<UINT>(r.record.size()));
}

}  // namespace

int ExtractFile(const char* source, const char* target, const char* left, const char* right,
                int kind, int positive) {
    OperationFiles files;
    if (!OpenOperationFiles(source, target, TargetNotice::Show, &files)) {
        return 0;
    }
    g_bInStringTable = 0;
    LineRequest request{left[0], right[0], kind, positive, std::string("\t") + source + "\r\n", {}};

    for (;;) {
        BOOL atEnd = FALSE;
        UINT n = ReadUntilByte(files.source, g_szLine, kLinePieceMax, '\n', &atEnd);
        if (n == kReadError) {
            FailOperation(&files);
            return 0;
        }
        if (atEnd) {
            // The read that found the end stores a NUL like any other byte.
            g_szLine[n++] = '\0';
        }
        g_szLine[n] = '\0';
        if (n == kLinePieceMax) {
            // Output held back so far is written before the box: when that
            // fails, the run ends where an unbuffered write would have ended
            // it, and the box is not shown.
            if (!FlushFile(files.target)) {
                FailOperation(&files);
                return 0;
            }
            ShowMessage(nullptr, kMsgLineTooLong, kCaptionError, g_bMsgEnglish);
        }
        if (!ProcessLine(files, request, static_cast<int>(n))) {
            FailOperation(&files);
            return 0;
        }
        if (atEnd) {
            break;
        }
    }
    return CloseOperationFiles(&files) ? 1 : 0;
}

}  // namespace sif
