// The pictures folder by the XDG user-directory rule: XDG_PICTURES_DIR in
// $XDG_CONFIG_HOME/user-dirs.dirs (~/.config when unset), a quoted path that
// may start with $HOME/. A value of $HOME alone means the user has none.
#include "framework/PicturesFolder.h"

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace lum {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The quoted value of the line `XDG_PICTURES_DIR="..."`, its $HOME expanded;
// empty when the line is missing or malformed.
std::string picturesLine(std::istream& in, const std::string& home) {
    const std::string key = "XDG_PICTURES_DIR=\"";
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        const std::size_t end = line.find('"', key.size());
        if (end == std::string::npos) return "";
        std::string value = line.substr(key.size(), end - key.size());
        if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
        return value;
    }
    return "";
}

} // namespace

std::string PicturesFolder::find() {
    const std::string home = environment("HOME");
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty() && !home.empty()) config = home + "/.config";
    if (config.empty()) return "";
    std::ifstream file(config + "/user-dirs.dirs");
    std::string folder = picturesLine(file, home);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty() || folder == home || folder.front() != '/' || !isFolder(folder)) return "";
    return folder;
}

} // namespace lum
