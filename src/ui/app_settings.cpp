#include "ui/app_settings.h"

#include <QSettings>

#include "core/user_config_folder.h"

namespace ui {

QString SettingsPath() { return QString::fromLocal8Bit(tsumugi::UserConfigFile("tsumugi.ini")); }

std::unique_ptr<QSettings> OpenSettings() {
    const QString path = SettingsPath();
    if (path.isEmpty()) return nullptr;
    tsumugi::MakeUserConfigFolder();
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

}  // namespace ui
