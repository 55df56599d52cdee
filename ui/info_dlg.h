// The information boxes: template 100 (German) and 104 (English), modal,
// with no logic of their own.
#pragma once

#include "platform/framework/dialog.h"

namespace sif {

class CInfoDlg : public CDialog {
  public:
    explicit CInfoDlg(CWnd* pParent = nullptr);
};

class CInfoDlgEn : public CDialog {
  public:
    explicit CInfoDlgEn(CWnd* pParent = nullptr);
};

}  // namespace sif
