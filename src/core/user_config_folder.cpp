#include "core/user_config_folder.h"

#include "core/file_io.h"

namespace tsumugi {

std::string UserConfigFile(const std::string& name) {
    const std::string folder = UserConfigFolder();
    return folder.empty() ? std::string() : folder + kPathSeparator + name;
}

bool MakeUserConfigFolder() { return MakeFolders(UserConfigFolder()); }

}  // namespace tsumugi
