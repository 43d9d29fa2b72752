#include "core/user_files.h"

#include <optional>

#include "core/platform.h"
#include "core/settings.h"
#include "core/user_config_folder.h"

namespace tsumugi {
namespace {

bool IsFile(const std::string& path) {
    const std::optional<platform::FileStatus> status = platform::Status(path);
    return status && status->regular;
}

// A folder that is there but not ours to write (a folder that is not there at all keeps
// the file where it was: writing it then fails, as it always did).
bool IsReadOnlyFolder(const std::string& path) {
    const std::optional<platform::FileStatus> status = platform::Status(path);
    return status && status->directory && !status->writable;
}

}  // namespace

std::vector<std::string> CharTablePlaces() {
    std::vector<std::string> places = {ProgramFile("string.txt")};
    const std::string user = UserConfigFile("string.txt");
    if (!user.empty()) places.push_back(user);
    return places;
}

std::string CharTableFile() {
    const std::vector<std::string> places = CharTablePlaces();
    for (const std::string& place : places) {
        if (IsFile(place)) return place;
    }
    return places.front();
}

std::string OptionFile() {
    const std::string folder = ProgramFolder();
    const std::string user = UserConfigFile("option.ini");
    if (user.empty() || !IsReadOnlyFolder(folder.empty() ? "." : folder)) return ProgramFile("option.ini");
    return user;
}

}  // namespace tsumugi
