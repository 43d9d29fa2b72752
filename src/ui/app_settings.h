#pragma once
// The program's own settings file, "$XDG_CONFIG_HOME/tsumugi/tsumugi.ini" (INI format):
// window places and the folders last used for each kind of file. It is never "option.ini",
// which keeps the one value the ROM chooser reads.
#include <QString>
#include <memory>

class QSettings;

namespace ui {

// Empty when there is no user folder to keep it in.
QString SettingsPath();

// The settings file, its folder created when missing; null without a user folder.
std::unique_ptr<QSettings> OpenSettings();

}  // namespace ui
