#include "core/user_config_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace tsumugi {

std::string UserConfigFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/tsumugi";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/tsumugi";
    return {};
}

std::string UserConfigFile(const std::string& name) {
    const std::string folder = UserConfigFolder();
    return folder.empty() ? std::string() : folder + "/" + name;
}

bool MakeUserConfigFolder() {
    const std::string folder = UserConfigFolder();
    if (folder.empty()) return false;
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace tsumugi
