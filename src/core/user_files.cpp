#include "core/user_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include "core/settings.h"
#include "core/user_config_folder.h"

namespace tsumugi {
namespace {

bool IsFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
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
    if (user.empty() || ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0) return ProgramFile("option.ini");
    return user;
}

}  // namespace tsumugi
