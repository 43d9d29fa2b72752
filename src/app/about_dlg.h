#pragma once
// The version box: the icon, the program's name and version, and OK.
#include "ui/dialog.h"

namespace app {

class CAboutDlg : public ui::Dialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

};

}  // namespace app
