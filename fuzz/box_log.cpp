#include "fuzz/box_log.h"

#include <sys/stat.h>

#include <cstring>
#include <utility>

#include "engine/messages.h"
#include "platform/resources.h"

namespace sif::fuzz {

namespace {

struct CatalogueText {
    UINT id;
    std::string text;
};

// The engine's texts in both languages, loaded once.
const std::vector<CatalogueText>& Catalogue() {
    static const std::vector<CatalogueText> texts = [] {
        std::vector<CatalogueText> all;
        const auto add = [&all](UINT id) {
            for (UINT shown : {id, id + kEnglishOffset}) {
                char text[256];
                if (LoadStringA(AfxGetResourceHandle(), shown, text, sizeof text) > 0) {
                    all.push_back({id, text});
                }
            }
        };
        for (UINT id = kMsgMultilineOk; id <= kMsgReadWriteError; ++id) {
            add(id);
        }
        add(kMsgDelimiterNotInCodePage);
        add(kMsgIncompleteAppend);
        return all;
    }();
    return texts;
}

UINT IdOf(const char* text) {
    for (const CatalogueText& t : Catalogue()) {
        if (t.text == text) {
            return t.id;
        }
    }
    return 0;
}

}  // namespace

BoxLog::BoxLog(std::string target, bool gathers)
    : target_(std::move(target)), gathers_(gathers), previous_(SetMessageBoxSink(this)) {}

BoxLog::~BoxLog() {
    SetMessageBoxSink(previous_);
}

int BoxLog::Show(HWND, const char* text, const char*, UINT) {
    struct stat st {};
    const long long size = ::stat(target_.c_str(), &st) == 0 ? st.st_size : -1;
    boxes_.push_back({IdOf(text), size});
    return IDOK;
}

int BoxLog::Count(UINT id) const {
    int n = 0;
    for (const LoggedBox& box : boxes_) {
        n += box.id == id ? 1 : 0;
    }
    return n;
}

}  // namespace sif::fuzz
