#pragma once
// Where the character table and "option.ini" live. Run from its own folder (a build or an
// unpacked tree) the program keeps both beside itself; installed, its folder is not the
// user's to write, so the user's config folder ("$XDG_CONFIG_HOME/tsumugi") holds them.
#include <string>
#include <vector>

namespace tsumugi {

// The places "string.txt" is looked for, in order: the program's folder, then the user's
// config folder (when there is one).
std::vector<std::string> CharTablePlaces();

// The first of CharTablePlaces() that holds a file; the program folder's when none does.
std::string CharTableFile();

// "option.ini" in the program's folder, or in the user's config folder when the program's
// folder is there but cannot be written.
std::string OptionFile();

}  // namespace tsumugi
