#pragma once
// The application object: sets up Qt, runs the main window modally, and ends.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>

class QApplication;
class QTranslator;

namespace app {

class CTsumugiApp {
public:
    CTsumugiApp(int& argc, char** argv);
    ~CTsumugiApp();

    // Runs the whole program: the main window, opening the ROM named on the command line
    // once it shows. Returns false: the program ends when the window closes.
    bool InitInstance();

    // The first family of `installed` that draws Japanese text well, or empty.
    static QString JapaneseFamily(const QStringList& installed);

    // Qt's messages while it opens the display: its platform-plugin chatter is held back,
    // and a display that cannot be opened ends the program with one line and status 1
    // instead of Qt's page of advice and an abort.
    static void StartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text);

private:
    std::unique_ptr<QApplication> m_pApp;
    std::unique_ptr<QTranslator> m_pTranslator;
};

}  // namespace app
