#pragma once
// Files in the user's own folder for this program's settings (UserConfigFolder(), from
// the file layer).
#include <string>

#include "core/file_io.h"

namespace tsumugi {

// UserConfigFolder() + separator + name; empty when there is no such folder.
std::string UserConfigFile(const std::string& name);

// Creates the folder (and its parents) when missing; false when it cannot be made.
bool MakeUserConfigFolder();

}  // namespace tsumugi
