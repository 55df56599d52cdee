// CDialog: a window made from a dialog template, modeless (Create) or modal
// (DoModal), with OK and Cancel routed to virtual handlers.
#pragma once

#include <functional>

#include "platform/framework/wnd.h"

namespace sif {

class CDialog : public CWnd {
  public:
    CDialog() = default;
    CDialog(UINT templateId, CWnd* parent);

    // Creates the modeless window; OnInitDialog runs inside. FALSE when the
    // template is missing or the window cannot be made.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Runs the dialog modally, its owner (the parent, else the main window)
    // disabled meanwhile; returns the EndDialog result, -1 on failure.
    virtual INT64 DoModal();
    void EndDialog(int result);

    UINT GetTemplateId() const { return m_templateId; }

    // Test seam for modal runs: when set, DoModal calls it with the dialog
    // created and initialised instead of running a modal loop; the hook may
    // send commands. A dialog the hook leaves open ends with IDCANCEL.
    using ModalHook = std::function<void(CDialog&)>;
    static void SetModalHook(ModalHook hook);

  protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

  private:
    HWND CreateFromTemplate(CWnd* parent, bool modal);

    UINT m_templateId = 0;
    CWnd* m_pParentWnd = nullptr;
    bool m_modal = false;
    bool m_ended = false;
    int m_nModalResult = -1;
};

}  // namespace sif
