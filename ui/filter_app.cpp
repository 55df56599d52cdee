#include "ui/filter_app.h"

#include <string>

#include "platform/resources.h"
#include "ui/filter_dlg.h"

namespace sif {
namespace {

// Every string the window and the engine load, as [first, last] ranges.
constexpr unsigned kNeededStrings[][2] = {
    {2007, 2007}, {2016, 2016}, {2019, 2019}, {3030, 3049},
    {3050, 3069}, {3070, 3072}, {3090, 3092},
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
