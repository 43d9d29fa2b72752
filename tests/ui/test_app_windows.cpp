// The application's windows at their default size: Japanese glyphs present, every
// button wide enough for its label, and the whole window on a 1280x800 screen. With
// TSUMUGI_SHOT_DIR set, each window is also saved there as a PNG for a look by eye.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <optional>

#include "app/about_dlg.h"
#include "app/editor_factory.h"
#include "core/regions.h"
#include "app/main_dlg.h"
#include "app/tsumugi_app.h"
#include "demo_files.h"
#include "editors/pilots/pilot_status_dlg.h"
#include "editors/strings/string_tool_dlg.h"
#include "editors/units/unit_dlg.h"
#include "scripted_services.h"

namespace {

class AppWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString family = app::CTsumugiApp::JapaneseFamily(QFontDatabase::families());
        if (family.isEmpty()) GTEST_SKIP() << "no Japanese font installed";
        m_oldFont = QApplication::font();
        QFont font = *m_oldFont;
        font.setFamily(family);
        QApplication::setFont(font);
    }
    void TearDown() override {
        if (m_oldFont) QApplication::setFont(*m_oldFont);
    }

    static void Check(QWidget& window, const char* name) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_LE(window.width(), 1280) << name;
        EXPECT_LE(window.height(), 800) << name;
        QStringList texts;
        for (QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
            if (b->text().isEmpty()) continue;
            texts << b->text();
            EXPECT_GE(b->width(), b->sizeHint().width()) << name << ": " << b->text().toStdString();
        }
        for (QLabel* l : window.findChildren<QLabel*>()) texts << l->text();
        for (QGroupBox* g : window.findChildren<QGroupBox*>()) texts << g->title();
        texts << window.windowTitle();
        const QFontMetrics metrics(window.font());
        for (const QString& text : texts)
            for (const QChar c : text)
                EXPECT_TRUE(c.unicode() < 0x80 || metrics.inFont(c)) << name << ": no glyph in " << text.toStdString();
        const QByteArray dir = qgetenv("TSUMUGI_SHOT_DIR");
        if (!dir.isEmpty()) window.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QLatin1String(name) + QLatin1String(".png")));
        window.hide();
    }

    std::optional<QFont> m_oldFont;
};

TEST_F(AppWindowsTest, MainWindowFitsItsLabels) {
    app::CMainDlg dlg;
    Check(dlg, "main");
}

TEST_F(AppWindowsTest, AboutBoxFitsItsLabels) {
    app::CAboutDlg dlg;
    Check(dlg, "about");
}

TEST_F(AppWindowsTest, StringToolFitsItsLabels) {
    const std::vector<uint8_t> rom(16, 0xFF);
    editors::CStringToolDlg dlg(rom.data(), static_cast<uint32_t>(rom.size()));
    Check(dlg, "string_tool");
}

// Every editor on the demo ROM, every page of its tab controls in turn.
TEST_F(AppWindowsTest, EditorsFitTheirLabelsOnEveryPage) {
    testing_ui::ScriptedServices services;
    testing_ui::UseDemoTable();
    std::vector<uint8_t> rom = testing_ui::DemoFiles::Get().bytes;
    int editors = 0;
    for (int category = 0; category < tsumugi::kCategoryCount; ++category) {
        std::unique_ptr<ui::Dialog> dlg = app::CreateEditor(category, rom.data(), static_cast<uint32_t>(rom.size()));
        if (!dlg) continue;
        ++editors;
        const std::string name = "editor_" + std::to_string(category);
        const QList<QTabWidget*> tabs = dlg->findChildren<QTabWidget*>();
        if (tabs.isEmpty()) {
            Check(*dlg, name.c_str());
            continue;
        }
        for (int page = 0; page < tabs.front()->count(); ++page) {
            tabs.front()->setCurrentIndex(page);
            Check(*dlg, (name + "_" + std::to_string(page)).c_str());
        }
    }
    EXPECT_GE(editors, 13);
    testing_ui::ForgetTable();
}

TEST(AppStartup, ADisplayThatCannotOpenEndsWithOneLineAndStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QMessageLogContext plugin("qguiapplication.cpp", 1, "init", "default");
    EXPECT_EXIT(app::CTsumugiApp::StartupMessage(QtFatalMsg, plugin, QStringLiteral("no platform plugin")),
                ::testing::ExitedWithCode(1), "tsumugi: no display to open the window on");

    // The plugin's own complaints are held back; anything else still gets through.
    ::testing::internal::CaptureStderr();
    const QMessageLogContext xcb("qxcbconnection.cpp", 1, "connect", "qt.qpa.xcb");
    app::CTsumugiApp::StartupMessage(QtWarningMsg, xcb, QStringLiteral("could not connect to display"));
    app::CTsumugiApp::StartupMessage(QtWarningMsg, plugin, QStringLiteral("something else"));
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed.find("could not connect"), std::string::npos);
    EXPECT_NE(printed.find("something else"), std::string::npos);
}

}  // namespace
