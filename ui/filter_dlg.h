// CFilterDlg: the main dialog (template 101), modeless, with the OK and
// Cancel bitmap buttons.
#pragma once

#include "engine/extract_request.h"
#include "platform/framework/bitmap_button.h"
#include "platform/framework/dialog.h"

namespace sif {

class CFilterDlg : public CDialog {
  public:
    // Creates the window; a missing button bitmap raises the framework's
    // resource-failure exception.
    explicit CFilterDlg(CWnd* pParent = nullptr);

    // The run settings as the controls show them now.
    ExtractRequest ReadRequest() const;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;  // the run command
    void OnCancel() override;

    virtual void OnLanguage();
    virtual void OnBrowseSource();
    virtual void OnBrowseTarget();
    virtual void OnViewSource();
    virtual void OnViewTarget();
    virtual void OnKindResource();
    virtual void OnModePositive();
    virtual void OnModeNegative();
    virtual void OnModeMultilinePositive();
    virtual void OnModeMultilineNegative();

    void OnInfo();
    void OnDestroy();

    void RunExtraction();

    // Checks `id` and clears the other three mode boxes.
    void SetMode(int id);
    // The same, only while ".TXT/.HTML" is selected.
    void SetModeForText(int id);
    // Lets the user pick an existing file for `field` with the filters of
    // catalogue string `filterId`.
    void BrowseInto(int field, UINT filterId);

    static constexpr int kLabelBufferSize = 40;
    static constexpr int kFilterBufferSize = 256;

    CBitmapButton m_okButton;
    CBitmapButton m_cancelButton;

    DECLARE_MESSAGE_MAP()
};

}  // namespace sif
