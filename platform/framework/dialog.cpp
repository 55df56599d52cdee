#include "platform/framework/dialog.h"

#include "platform/framework/win_app.h"
#include "platform/framework/window_backend.h"
#include "platform/resources.h"
#include "platform/window_styles.h"

namespace sif {
namespace {

CDialog::ModalHook& ModalHookSlot() {
    static CDialog::ModalHook hook;
    return hook;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

void CDialog::SetModalHook(ModalHook hook) {
    ModalHookSlot() = std::move(hook);
}

HWND CDialog::CreateFromTemplate(CWnd* parent, bool modal) {
    WindowBackend* backend = GetWindowBackend();
    const res::DialogResource* dialog = FindDialogResource(m_templateId);
    if (backend == nullptr || dialog == nullptr)
        return nullptr;
    HWND hwnd = backend->CreateDialogWindow(*dialog, parent ? parent->GetSafeHwnd() : nullptr);
    if (hwnd == nullptr || !Attach(hwnd))
        return nullptr;
    m_modal = modal;
    m_ended = false;
    if (OnInitDialog())
        backend->FocusFirstTabStop(hwnd);
    return hwnd;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_templateId = templateId;
    m_pParentWnd = parent;
    const res::DialogResource* dialog = FindDialogResource(templateId);
    if (CreateFromTemplate(parent, false) == nullptr)
        return FALSE;
    if (dialog->style & WS_VISIBLE)
        GetWindowBackend()->ShowWindow(m_hWnd, SW_SHOW);
    return TRUE;
}

INT64 CDialog::DoModal() {
    CWnd* owner = m_pParentWnd;
    if (owner == nullptr && AfxGetApp() != nullptr)
        owner = AfxGetApp()->m_pMainWnd;
    if (owner != nullptr && owner->GetSafeHwnd() == nullptr)
        owner = nullptr;

    m_nModalResult = -1;
    if (CreateFromTemplate(owner, true) == nullptr)
        return -1;
    BOOL ownerWasEnabled = owner != nullptr && owner->IsWindowEnabled();
    if (ownerWasEnabled)
        owner->EnableWindow(FALSE);

    if (ModalHookSlot()) {
        ModalHookSlot()(*this);
        if (!m_ended)
            EndDialog(IDCANCEL);
    } else if (!m_ended) {
        GetWindowBackend()->RunModalLoop(m_hWnd);
    }

    if (ownerWasEnabled)
        owner->EnableWindow(TRUE);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    if (m_ended || m_hWnd == nullptr)
        return;
    m_ended = true;
    WindowBackend* backend = GetWindowBackend();
    if (m_modal) {
        if (!ModalHookSlot())
            backend->EndModalLoop(m_hWnd);
    } else {
        // A modeless dialog only hides; DestroyWindow removes it.
        backend->ShowWindow(m_hWnd, SW_HIDE);
    }
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

}  // namespace sif
