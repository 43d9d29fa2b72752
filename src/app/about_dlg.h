#pragma once
// The version box: the icon, the program's name and version, and OK.
#include "ui/dialog.h"

namespace app {

class CAboutDlg : public ui::Dialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    // Enter presses "OK", the box's only button.
    void OnOK() override { EndDialog(QDialog::Accepted); }
};

}  // namespace app
