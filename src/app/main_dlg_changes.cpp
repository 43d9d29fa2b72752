// The main window's "変更一覧": the codes recorded so far, each named by its field.
#include "app/main_dlg.h"

namespace app {

void CMainDlg::OnChangeList() {}

}  // namespace app
