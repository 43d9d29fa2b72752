// How the windows behave on the desktop: drop-downs open to at most 20 rows, the lists and
// the window menu's button show the keyboard focus, and windows come back where they were
// left (in the program's own settings file) unless no screen shows that place any more.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include "app/main_dlg.h"
#include "scripted_services.h"
#include "ui/app_settings.h"
#include "ui/controls.h"
#include "ui/dialog.h"

namespace testing_ui {
namespace {

TEST(ControlStyle, DropDownsOpenToTwentyRowsAtMost) {
    for (int items : {5, 20, 300}) {
        ui::ComboBox combo(QStringLiteral("c"));
        for (int i = 0; i < items; ++i) combo.AddString(QString::number(i));
        combo.show();
        combo.showPopup();
        QAbstractItemView* view = combo.view();
        const int rows = view->viewport()->height() / view->sizeHintForRow(0);
        EXPECT_EQ(rows, std::min(items, 20)) << items;
        combo.hidePopup();
    }
}

TEST(ControlStyle, ListsAndTheMenuButtonShowTheKeyboardFocus) {
    ScriptedServices services;
    app::CMainDlg dlg;
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QWidget* elsewhere = dlg.findChildren<ui::Button*>().front();
    for (QWidget* w : {static_cast<QWidget*>(dlg.findChild<ui::ListBox*>()), static_cast<QWidget*>(dlg.findChild<QToolButton*>())}) {
        elsewhere->setFocus(Qt::TabFocusReason);
        const QImage without = w->grab().toImage();
        w->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(w->hasFocus());
        EXPECT_NE(w->grab().toImage(), without) << w->accessibleName().toStdString();
    }
}

TEST(WindowPlaces, AWindowReopensWhereItWasLeftIfAScreenShowsIt) {
    ui::Dialog::SetRememberPlaces(true);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect inside(screen.left() + 40, screen.top() + 50, 320, 200);
    const struct {
        QRect left;
        bool kept;
    } cases[] = {
        {inside, true},
        {inside.translated(screen.width() * 3, 0), false},
        {QRect(screen.left() + 10, screen.top() - 400, 300, 200), false},  // title bar above every screen
    };
    for (const auto& c : cases) {
        {
            ui::Dialog first;
            first.show();
            first.setGeometry(c.left);
            first.EndDialog(QDialog::Accepted);
        }
        ui::Dialog again;
        again.resize(200, 100);
        again.show();
        EXPECT_EQ(again.geometry() == c.left, c.kept) << c.left.x() << "," << c.left.y();
        again.EndDialog(QDialog::Rejected);
    }
    ui::Dialog::SetRememberPlaces(false);
    EXPECT_EQ(QFileInfo(ui::SettingsPath()).fileName(), QStringLiteral("tsumugi.ini"));
    EXPECT_TRUE(QSettings(ui::SettingsPath(), QSettings::IniFormat).contains(QStringLiteral("Windows/ui__Dialog")));
}

}  // namespace
}  // namespace testing_ui
