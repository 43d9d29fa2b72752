#pragma once
// The user's own folder for this program's settings: "$XDG_CONFIG_HOME/tsumugi", or
// "~/.config/tsumugi" when that variable is unset or empty (or not an absolute path).
#include <string>

namespace tsumugi {

// Empty when neither XDG_CONFIG_HOME nor HOME names a folder.
std::string UserConfigFolder();

// UserConfigFolder() + "/" + name; empty when there is no such folder.
std::string UserConfigFile(const std::string& name);

// Creates the folder (and its parents) when missing; false when it cannot be made.
bool MakeUserConfigFolder();

}  // namespace tsumugi
