// tsumugi [ROM]              the editor, opening ROM at start when given
// tsumugi --write-demo DIR   writes the demo ROM "demo.gba" and "string.txt" into DIR
// tsumugi --write-icons DIR  writes the icon into DIR in the icon theme's sizes
//                            (DIR/48x48/apps/tsumugi.png and so on), without a display
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

#include "app/app_icon.h"
#include "app/tsumugi_app.h"
#include "demo/rom.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-demo") == 0) {
        if (tsumugi::demo::WriteDemo(argv[2])) return 0;
        std::fprintf(stderr, "tsumugi: cannot write the demo into %s\n", argv[2]);
        return 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--write-icons") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        if (app::WriteThemeIcons(QString::fromLocal8Bit(argv[2]))) return 0;
        std::fprintf(stderr, "tsumugi: cannot write the icons into %s\n", argv[2]);
        return 1;
    }
    app::CTsumugiApp theApp(argc, argv);
    theApp.InitInstance();
    return 0;
}
