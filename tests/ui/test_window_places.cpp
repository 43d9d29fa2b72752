// Windows come back where they were left, in the program's own settings file, unless no
// screen shows that place any more.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "ui/app_settings.h"
#include "ui/dialog.h"

namespace testing_ui {
namespace {

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
