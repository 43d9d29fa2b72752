#pragma once
// The program's icon, drawn in code: a spindle wound with thread.
#include <QIcon>

namespace app {

QIcon AppIcon();

// Writes the icon as DIR/NxN/apps/tsumugi.png for each size a desktop's icon theme
// (hicolor) holds. Needs a running QGuiApplication. False when a file cannot be written.
bool WriteThemeIcons(const QString& dir);

}  // namespace app
