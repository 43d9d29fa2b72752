#include "app/tsumugi_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <QFont>
#include <QFontDatabase>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app_icon.h"
#include "app/main_dlg.h"
#include "ui/dialog.h"

namespace app {

CTsumugiApp::CTsumugiApp(int& argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(StartupMessage);
    m_pApp = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    // Every message box takes this as its caption: the program file's name, no extension.
    QApplication::setApplicationName(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    QApplication::setWindowIcon(AppIcon());
    ui::Dialog::SetRememberPlaces(true);
    // The whole program speaks Japanese, so Qt's own texts (file choosers, their
    // overwrite question) do too, whatever the desktop's language.
    m_pTranslator = std::make_unique<QTranslator>();
    if (m_pTranslator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(m_pTranslator.get());
    const QString family = JapaneseFamily(QFontDatabase::families());
    if (!family.isEmpty()) {
        QFont font = QApplication::font();
        font.setFamily(family);
        QApplication::setFont(font);
    }
}

CTsumugiApp::~CTsumugiApp() = default;

void CTsumugiApp::StartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs("tsumugi: no display to open the window on "
                   "(DISPLAY or WAYLAND_DISPLAY must name a running display)\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (context.category != nullptr && std::strncmp(context.category, "qt.qpa.", 7) == 0) return;
    const QByteArray line = qFormatLogMessage(type, context, text).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
}

QString CTsumugiApp::JapaneseFamily(const QStringList& installed) {
    // Proportional faces first: they read better in labels and lists.
    static const char* const kPreferred[] = {"Noto Sans CJK JP", "Noto Sans JP", "IPAPGothic", "IPAGothic",
                                             "TakaoPGothic", "TakaoGothic", "VL PGothic", "VL Gothic",
                                             "Droid Sans Japanese"};
    for (const char* name : kPreferred) {
        const QString family = QLatin1String(name);
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    }
    return {};
}

bool CTsumugiApp::InitInstance() {
    CMainDlg dlg;
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        const QString rom = args.at(1);
        QTimer::singleShot(0, &dlg, [&dlg, rom] { dlg.OpenRom(rom); });
    }
    dlg.DoModal();
    return false;
}

}  // namespace app
