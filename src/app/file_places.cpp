#include "app/file_places.h"

#include <QFileInfo>
#include <QSettings>

#include "app/main_support.h"
#include "core/rom_image.h"
#include "ui/app_settings.h"

namespace app {
namespace {

QString Key(FileKind kind) {
    switch (kind) {
        case FileKind::Codes: return QStringLiteral("Folders/codes");
        case FileKind::Patch: return QStringLiteral("Folders/patch");
        case FileKind::Rom: return QStringLiteral("Folders/rom");
        case FileKind::Csv: return QStringLiteral("Folders/csv");
    }
    return {};
}

}  // namespace

void PlaceChooser(ui::FileDialogOptions& options, FileKind kind, const tsumugi::RomImage& rom, const QString& nameEnd) {
    const QFileInfo romFile(rom.IsLoaded() ? FromLocalPath(rom.m_szPath) : QString());
    const std::unique_ptr<QSettings> settings = ui::OpenSettings();
    const QString last = settings ? settings->value(Key(kind)).toString() : QString();
    options.initialFolder = !last.isEmpty() ? last : rom.IsLoaded() ? romFile.absolutePath() : QString();
    if (rom.IsLoaded() && !nameEnd.isEmpty()) options.fileName = romFile.completeBaseName() + nameEnd;
}

void RememberFolder(FileKind kind, const QString& chosen) {
    if (const std::unique_ptr<QSettings> settings = ui::OpenSettings()) {
        settings->setValue(Key(kind), QFileInfo(chosen).absolutePath());
    }
}

}  // namespace app
