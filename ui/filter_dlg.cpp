#include "ui/filter_dlg.h"

#include "engine/language.h"
#include "engine/messages.h"
#include "engine/run_extraction.h"
#include "platform/file_io.h"
#include "platform/framework/file_dialog.h"
#include "platform/framework/text_viewer.h"
#include "platform/framework/win_app.h"
#include "platform/message_box.h"
#include "platform/resources.h"
#include "ui/control_ids.h"
#include "ui/info_dlg.h"

namespace sif {

using namespace ui;

namespace {

constexpr int kTargetLockWaitMs = 2000;

// The toolkit's own texts (box buttons, the file dialog) follow the labels.
void TellInterfaceLanguage() {
    SetInterfaceLanguage(g_bEnglish ? "en" : "de");
}

}  // namespace

BEGIN_MESSAGE_MAP(CFilterDlg, CDialog)
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_INFO, OnInfo)
ON_BN_CLICKED(IDC_LANGUAGE, OnLanguage)
ON_BN_CLICKED(IDC_BROWSE_SOURCE, OnBrowseSource)
ON_BN_CLICKED(IDC_BROWSE_TARGET, OnBrowseTarget)
ON_BN_CLICKED(IDC_VIEW_SOURCE, OnViewSource)
ON_BN_CLICKED(IDC_VIEW_TARGET, OnViewTarget)
ON_BN_CLICKED(IDC_KIND_RESOURCE, OnKindResource)
ON_BN_CLICKED(IDC_MODE_POSITIVE, OnModePositive)
ON_BN_CLICKED(IDC_MODE_NEGATIVE, OnModeNegative)
ON_BN_CLICKED(IDC_MODE_MULTI_POSITIVE, OnModeMultilinePositive)
ON_BN_CLICKED(IDC_MODE_MULTI_NEGATIVE, OnModeMultilineNegative)
END_MESSAGE_MAP()

CFilterDlg::CFilterDlg(CWnd* pParent) : CDialog(IDD_MAIN, pParent) {
    if (!m_okButton.LoadBitmaps("Up", "Down", "Focus", nullptr)) {
        AfxThrowResourceException(
            "a bitmap of the OK button (\"Up\", \"Down\", \"Focus\") is missing");
    }
    if (!m_cancelButton.LoadBitmaps("CUp", "CDown", "CFocus", nullptr)) {
        AfxThrowResourceException(
            "a bitmap of the Cancel button (\"CUp\", \"CDown\", \"CFocus\") is missing");
    }
    Create(IDD_MAIN, pParent);
}

BOOL CFilterDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_okButton.SubclassDlgItem(IDOK, this);
    m_okButton.SizeToContent();
    m_cancelButton.SubclassDlgItem(IDCANCEL, this);
    m_cancelButton.SizeToContent();

    SendDlgItemMessageA(IDC_KIND_RESOURCE, BM_SETCHECK, 0);
    SendDlgItemMessageA(IDC_KIND_TEXT, BM_SETCHECK, 1);
    SendDlgItemMessageA(IDC_MODE_POSITIVE, BM_SETCHECK, 1);
    SendDlgItemMessageA(IDC_MODE_NEGATIVE, BM_SETCHECK, 0);
    SendDlgItemMessageA(IDC_MODE_MULTI_POSITIVE, BM_SETCHECK, 0);
    SendDlgItemMessageA(IDC_MODE_MULTI_NEGATIVE, BM_SETCHECK, 0);
    SetDlgItemTextA(IDC_LEFT, "\"");
    SetDlgItemTextA(IDC_RIGHT, "\"");
    TellInterfaceLanguage();
    return TRUE;
}

ExtractRequest CFilterDlg::ReadRequest() const {
    ExtractRequest request;
    request.bEnglish = g_bEnglish;
    request.szSource = GetDlgItemFileName(IDC_SOURCE);
    request.szTarget = GetDlgItemFileName(IDC_TARGET);
    GetDlgItemTextA(IDC_LEFT, request.szLeft, kDelimiterFieldSize);
    GetDlgItemTextA(IDC_RIGHT, request.szRight, kDelimiterFieldSize);
    request.nKind = GetCheckedRadioButton(IDC_KIND_RESOURCE, IDC_KIND_TEXT) == IDC_KIND_RESOURCE
                        ? KindResource
                        : KindText;
    switch (GetCheckedRadioButton(IDC_MODE_POSITIVE, IDC_MODE_MULTI_NEGATIVE)) {
        case IDC_MODE_NEGATIVE:
            request.nMode = ModeNegative;
            break;
        case IDC_MODE_MULTI_POSITIVE:
            request.nMode = ModeMultilinePositive;
            break;
        case IDC_MODE_MULTI_NEGATIVE:
            request.nMode = ModeMultilineNegative;
            break;
        default:
            request.nMode = ModePositive;
            break;
    }
    return request;
}

void CFilterDlg::RunExtraction() {
    // The engine keeps process-wide state: a click that arrives while a run
    // shows a box must not start a second run.
    static bool running = false;
    if (running)
        return;
    running = true;
    if (IsDlgItemTextExact(IDC_LEFT) && IsDlgItemTextExact(IDC_RIGHT)) {
        // The run holds the window until it ends, with no way to cancel it:
        // a target that another run holds for more than a moment is refused
        // (nothing written) rather than waited for without end.
        SetAppendLockWait({kTargetLockWaitMs, nullptr});
        RunRequest(ReadRequest(), m_hWnd);
    } else {
        // The field would read as '?', and the run would cut at question
        // marks that the user never typed.
        ShowMessage(m_hWnd, kMsgDelimiterNotInCodePage, kCaptionError, g_bEnglish);
    }
    running = false;
}

void CFilterDlg::OnOK() {
    RunExtraction();
}

void CFilterDlg::OnCancel() {
    CDialog::OnCancel();
    DestroyWindow();
}

void CFilterDlg::OnDestroy() {
    CDialog::OnDestroy();
    PostQuitMessage(0);
}

// --- option rules ---

void CFilterDlg::SetMode(int id) {
    for (int box = IDC_MODE_POSITIVE; box <= IDC_MODE_MULTI_NEGATIVE; ++box) {
        SendDlgItemMessageA(box, BM_SETCHECK, box == id ? 1 : 0);
    }
}

void CFilterDlg::SetModeForText(int id) {
    // The negative and multiline modes exist only for text sources.
    if (GetCheckedRadioButton(IDC_KIND_RESOURCE, IDC_KIND_TEXT) == IDC_KIND_TEXT)
        SetMode(id);
}

void CFilterDlg::OnModePositive() {
    SetMode(IDC_MODE_POSITIVE);
}
void CFilterDlg::OnModeNegative() {
    SetModeForText(IDC_MODE_NEGATIVE);
}
void CFilterDlg::OnModeMultilinePositive() {
    SetModeForText(IDC_MODE_MULTI_POSITIVE);
}
void CFilterDlg::OnModeMultilineNegative() {
    SetModeForText(IDC_MODE_MULTI_NEGATIVE);
}

void CFilterDlg::OnKindResource() {
    SetMode(IDC_MODE_POSITIVE);
    SetDlgItemTextA(IDC_LEFT, "\"");
    SetDlgItemTextA(IDC_RIGHT, "\"");
}

// --- language ---

void CFilterDlg::OnLanguage() {
    // The flag first: the labels then come from the new language's ids.
    g_bEnglish = g_bEnglish == 0 ? 1 : 0;
    const UINT offset = g_bEnglish ? kEnglishOffset : 0;
    static const struct {
        int control;
        UINT germanId;
    } kLabels[] = {
        {IDC_LABEL_SOURCE, IDS_LABEL_SOURCE},
        {IDC_LABEL_TARGET, IDS_LABEL_TARGET},
        {IDC_LABEL_KIND, IDS_LABEL_KIND},
        {IDC_LABEL_LEFT, IDS_LABEL_LEFT},
        {IDC_LABEL_RIGHT, IDS_LABEL_RIGHT},
        {IDC_MODE_MULTI_POSITIVE, IDS_MODE_MULTI_POSITIVE},
        {IDC_MODE_MULTI_NEGATIVE, IDS_MODE_MULTI_NEGATIVE},
    };
    char text[kLabelBufferSize];
    for (const auto& label : kLabels) {
        LoadStringA(AfxGetResourceHandle(), label.germanId + offset, text, sizeof text);
        SetDlgItemTextA(label.control, text);
    }
    LoadStringA(AfxGetResourceHandle(), IDS_VIEW + offset, text, sizeof text);
    SetDlgItemTextA(IDC_VIEW_SOURCE, text);
    SetDlgItemTextA(IDC_VIEW_TARGET, text);
    TellInterfaceLanguage();
}

// --- files ---

void CFilterDlg::BrowseInto(int field, UINT filterId) {
    char filter[kFilterBufferSize];
    if (LoadStringA(AfxGetResourceHandle(), filterId, filter, sizeof filter) == 0)
        return;
    OpenFileRequest request;
    request.filters = ParseFilterString(filter);
    request.filterIndex = 1;
    request.fileMustExist = true;
    request.pathMustExist = true;
    if (std::optional<std::string> path = GetOpenFileName(request))
        SetDlgItemFileName(field, *path);
}

void CFilterDlg::OnBrowseSource() {
    bool text = GetCheckedRadioButton(IDC_KIND_RESOURCE, IDC_KIND_TEXT) == IDC_KIND_TEXT;
    BrowseInto(IDC_SOURCE, text ? IDS_FILTER_TEXT_SOURCES : IDS_FILTER_RESOURCE_SOURCES);
}

void CFilterDlg::OnBrowseTarget() {
    BrowseInto(IDC_TARGET, IDS_FILTER_TARGETS);
}

void CFilterDlg::OnViewSource() {
    StartTextViewer(GetDlgItemFileName(IDC_SOURCE));
}

void CFilterDlg::OnViewTarget() {
    StartTextViewer(GetDlgItemFileName(IDC_TARGET));
}

// --- information ---

void CFilterDlg::OnInfo() {
    if (g_bEnglish == 0) {
        CInfoDlg info;
        info.DoModal();
    } else {
        CInfoDlgEn info;
        info.DoModal();
    }
}

}  // namespace sif
