#include "ui/filter_dlg.h"

#include "engine/language.h"
#include "engine/run_extraction.h"
#include "platform/framework/win_app.h"
#include "platform/message_box.h"
#include "ui/control_ids.h"

namespace sif {

using namespace ui;

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
    return TRUE;
}

ExtractRequest CFilterDlg::ReadRequest() const {
    ExtractRequest request;
    request.bEnglish = g_bEnglish;
    request.szSource = GetDlgItemFileName(IDC_SOURCE);
    request.szTarget = GetDlgItemFileName(IDC_TARGET);
    GetDlgItemTextA(IDC_LEFT, request.szLeft, kDelimiterFieldSize);
    GetDlgItemTextA(IDC_RIGHT, request.szRight, kDelimiterFieldSize);
    if (GetCheckedRadioButton(IDC_KIND_RESOURCE, IDC_KIND_TEXT) == IDC_KIND_RESOURCE) {
        // Resource scripts are always read the positive way; the mode boxes
        // are not looked at.
        request.nKind = KindResource;
        request.nMode = ModePositive;
        return request;
    }
    request.nKind = KindText;
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
    RunRequest(ReadRequest(), m_hWnd);
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

void CFilterDlg::OnLanguage() {}
void CFilterDlg::OnBrowseSource() {}
void CFilterDlg::OnBrowseTarget() {}
void CFilterDlg::OnViewSource() {}
void CFilterDlg::OnViewTarget() {}
void CFilterDlg::OnKindResource() {}
void CFilterDlg::OnModePositive() {}
void CFilterDlg::OnModeNegative() {}
void CFilterDlg::OnModeMultilinePositive() {}
void CFilterDlg::OnModeMultilineNegative() {}
void CFilterDlg::OnInfo() {}

}  // namespace sif
