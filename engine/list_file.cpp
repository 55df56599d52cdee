#include "engine/list_file.h"

#include <cstring>

#include "engine/extract_file.h"
#include "engine/messages.h"

namespace sif {

namespace {

constexpr int kShortestListedName = 4;

HFILE OpenListFile() {
    OFSTRUCT of{};
    HFILE list = OpenFile("Liste.txt", &of, OF_READ);
    if (list == HFILE_ERROR) {
        // The information box and the English notice spell it in lower case.
        list = OpenFile("liste.txt", &of, OF_READ);
    }
    return list;
}

bool ListIsTarget(HFILE list, const char* target) {
    OFSTRUCT of{};
    HFILE t = OpenFile(target, &of, OF_READ);
    if (t == HFILE_ERROR) {
        return false;
    }
    const bool same = IsSameFile(list, t);
    _lclose(t);
    return same;
}

}  // namespace

ListLine ReadListLine(HFILE list, char (&name)[kListNameSize]) {
    BOOL atEnd = FALSE;
    UINT n = ReadUntilByte(list, name, kListNameSize, '\n', &atEnd);
    if (n == static_cast<UINT>(HFILE_ERROR)) {
        name[0] = '\0';
        return ListLine::Unreadable;
    }
    if (atEnd) {
        name[n < kListNameSize ? n : kListNameSize - 1] = '\0';
        return ListLine::Last;
    }
    if (name[n - 1] == '\n') {
        // LF, or CR LF: the name is exactly the text before it.
        --n;
        if (n > 0 && name[n - 1] == '\r') {
            --n;
        }
    } else {
        // Cut at the length limit: the rest of the line follows as the next
        // name.
        n -= 2;
    }
    name[n] = '\0';
    return ListLine::More;
}

RunOutcome ListFile(const ExtractRequest& request, int positive, HWND owner) {
    const int english = request.bEnglish;
    ShowMessage(owner, kMsgListMode, kCaptionNotice, english);

    HFILE list = OpenListFile();
    if (list == HFILE_ERROR) {
        ShowMessage(owner, kMsgListMissing, kCaptionError, english);
        return {kMsgListMissing};
    }
    if (ListIsTarget(list, request.szTarget.c_str())) {
        _lclose(list);
        ShowMessage(owner, kMsgSameFile, kCaptionError, english);
        return {kMsgSameFile};
    }

    char name[kListNameSize];
    RunOutcome outcome{kMsgCompleted};
    ListLine line;
    do {
        line = ReadListLine(list, name);
        if (line == ListLine::Unreadable) {
            // Files listed after the error were never seen: that is no
            // completed list. What the files before it appended stays.
            ShowMessage(owner, kMsgReadWriteError, kCaptionError, english);
            outcome.listUnreadable = true;
        } else if (std::strlen(name) >= kShortestListedName &&
                   !ExtractFile(name, request.szTarget.c_str(), request.szLeft, request.szRight,
                                request.nKind, positive)) {
            ShowMessage(owner, kMsgFileFailed, kCaptionError, english);
            ++outcome.failedFiles;
        }
    } while (line == ListLine::More);

    _lclose(list);
    ShowMessage(owner, kMsgCompleted, kCaptionNotice, english);
    return outcome;
}

}  // namespace sif
