#pragma once
// The program's own folder and "option.ini", which remembers the folder of the last ROM.
#include <string>

#include "core/file_io.h"

namespace tsumugi {

// Index of the last `byte` in a NUL-terminated cp932 text, skipping the second byte of
// every two-byte character (a lead byte 0x81-0x9F or 0xE0-0xFC takes the next byte with
// it when that byte can be a second byte, so a trail byte equal to `byte` never matches;
// half-width katakana are single bytes). -1 when there is none. Paths on this platform
// are UTF-8: their multi-byte characters never hide a "/", which no cp932 character
// holds as its second byte.
int FindLastChar(const char* text, char byte);

// Cuts path at its last separator (found with FindLastChar), giving the folder without
// a trailing separator; a path without one is returned unchanged.
std::string CutAtLastSeparator(const std::string& path, char separator = kPathSeparator);

// The folder that holds the program file (as the system reports the running program's path). Tests may point it
// elsewhere with SetProgramFolder; an empty text restores the real one.
std::string ProgramFolder();
void SetProgramFolder(const std::string& folder);

// ProgramFolder() + separator + name.
std::string ProgramFile(const std::string& name);

// Section "Path", key "Directory" of "option.ini" in the program's folder; empty when the
// file, the section or the key is missing.
std::string ReadRomFolder();

// Writes the folder when it differs from the stored one; the file is created by the first
// write and its other content is kept. False when the write failed.
bool WriteRomFolder(const std::string& folder);

// The INI logic on text, for the above and for tests.
std::string IniGet(const std::string& ini, const std::string& section, const std::string& key);
std::string IniSet(const std::string& ini, const std::string& section, const std::string& key,
                   const std::string& value);

}  // namespace tsumugi
