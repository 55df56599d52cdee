#include "ui/info_dlg.h"

#include "ui/control_ids.h"

namespace sif {

CInfoDlg::CInfoDlg(CWnd* pParent) : CDialog(ui::IDD_INFO, pParent) {}

CInfoDlgEn::CInfoDlgEn(CWnd* pParent) : CDialog(ui::IDD_INFO_EN, pParent) {}

}  // namespace sif
