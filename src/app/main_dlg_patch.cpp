// The main window's "パッチ出力": the codes recorded so far as a BPS or IPS patch.
#include "app/main_dlg.h"

namespace app {

void CMainDlg::OnExportPatch() {}

}  // namespace app
