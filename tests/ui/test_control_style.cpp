// The drop-downs open to at most 20 rows, and the record lists and the window menu's
// button show when they hold the keyboard focus.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QToolButton>

#include "app/main_dlg.h"
#include "scripted_services.h"
#include "ui/controls.h"

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

}  // namespace
}  // namespace testing_ui
