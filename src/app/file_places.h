#pragma once
// Where the main window's file choosers start and what name they suggest: the folder last
// used for that kind of file (kept in the program's settings), else the loaded ROM's
// folder, and a name made from the ROM's base name ("game.txt", "game-weapons.csv").
#include <QString>

#include "ui/services.h"

namespace tsumugi {
class RomImage;
}

namespace app {

enum class FileKind { Codes, Patch, Rom, Csv };

// Sets options.initialFolder, and options.fileName to the ROM's base name followed by
// nameEnd (empty nameEnd: no name suggested).
void PlaceChooser(ui::FileDialogOptions& options, FileKind kind, const tsumugi::RomImage& rom,
                  const QString& nameEnd = {});

// Remembers the folder of a chosen file for its kind.
void RememberFolder(FileKind kind, const QString& chosen);

}  // namespace app
