#include "app/about_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/app_icon.h"
#include "ui/controls.h"

namespace app {

CAboutDlg::CAboutDlg(QWidget* parent) : ui::Dialog(parent) {
    setWindowTitle(QStringLiteral("Tsumugiのﾊﾞｰｼﾞｮﾝ情報"));
    setWindowIcon(AppIcon());

    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(32, 32));
    auto* version = new QLabel(QStringLiteral("Tsumugi Version 1.0"), this);
    auto* ok = new ui::Button(QStringLiteral("OK"), this);
    // Only the button closes the box; Enter does nothing here, as in every window but the
    // string tool.
    connect(ok, &QPushButton::clicked, this, [this] { EndDialog(QDialog::Accepted); });

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(8);
    row->addWidget(version, 1, Qt::AlignVCenter);
    row->addSpacing(16);
    row->addWidget(ok, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace app
