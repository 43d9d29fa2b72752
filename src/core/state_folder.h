#pragma once
// Where the program keeps what it must find again after a crash: $XDG_STATE_HOME/tsumugi,
// else ~/.local/state/tsumugi.
#include <string>

namespace tsumugi {

// The folder (not created). Empty when neither XDG_STATE_HOME nor HOME is set.
std::string UserStateFolder();

// Creates the folder and every missing parent (0700). True when it exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace tsumugi
