#include "app/tsumugi_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QTimer>

#include "app/app_icon.h"
#include "app/main_dlg.h"

namespace app {

CTsumugiApp::CTsumugiApp(int& argc, char** argv) : m_pApp(std::make_unique<QApplication>(argc, argv)) {
    // Every message box takes this as its caption: the program file's name, no extension.
    QApplication::setApplicationName(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    QApplication::setWindowIcon(AppIcon());
    const QString family = JapaneseFamily(QFontDatabase::families());
    if (!family.isEmpty()) {
        QFont font = QApplication::font();
        font.setFamily(family);
        QApplication::setFont(font);
    }
}

CTsumugiApp::~CTsumugiApp() = default;

QString CTsumugiApp::JapaneseFamily(const QStringList& installed) {
    static const char* const kPreferred[] = {"IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "Noto Sans JP",
                                             "TakaoGothic", "VL Gothic", "Droid Sans Japanese"};
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
