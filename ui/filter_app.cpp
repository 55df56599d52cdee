#include "ui/filter_app.h"

#include <string>

#include "engine/messages.h"
#include "platform/resources.h"
#include "ui/control_ids.h"
#include "ui/filter_dlg.h"

namespace sif {
namespace {

// Every string the window and the engine load, as [first, last] ranges: the
// file filters, the German labels and messages, the later messages, and the
// English twins of both.
constexpr unsigned kNeededStrings[][2] = {
    {ui::IDS_FILTER_TARGETS, ui::IDS_FILTER_TARGETS},
    {ui::IDS_FILTER_RESOURCE_SOURCES, ui::IDS_FILTER_RESOURCE_SOURCES},
    {ui::IDS_FILTER_TEXT_SOURCES, ui::IDS_FILTER_TEXT_SOURCES},
    {ui::IDS_LABEL_SOURCE, kMsgReadWriteError},
    {ui::IDS_LABEL_SOURCE + kEnglishOffset, kMsgReadWriteError + kEnglishOffset},
    {kMsgDelimiterNotInCodePage, kMsgTargetLocked},
    {kMsgDelimiterNotInCodePage + kEnglishOffset, kMsgTargetLocked + kEnglishOffset},
};

}  // namespace

unsigned FirstMissingString() {
    char probe[2];
    for (const auto& range : kNeededStrings) {
        for (unsigned id = range[0]; id <= range[1]; ++id) {
            if (LoadStringA(AfxGetResourceHandle(), id, probe, sizeof probe) == 0)
                return id;
        }
    }
    return 0;
}

BOOL CFilterApp::InitInstance() {
    // A catalogue with holes would show empty boxes later; refuse to start.
    if (unsigned missing = FirstMissingString()) {
        AfxThrowResourceException("string resource " + std::to_string(missing) + " is missing");
    }
    SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    auto* dialog = new CFilterDlg(nullptr);  // lives until the process ends
    if (dialog->GetSafeHwnd() == nullptr) {
        // Nothing to show and nothing that could end the message loop.
        AfxThrowResourceException("dialog template 101 cannot be shown");
    }
    m_pMainWnd = dialog;
    ShowWindow(dialog->GetSafeHwnd(), m_nCmdShow);
    return TRUE;
}

}  // namespace sif
