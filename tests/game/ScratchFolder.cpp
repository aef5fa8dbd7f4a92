// Scratch working directories for tests that need files to be missing.
#include "ScratchFolder.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

ScratchFolder::ScratchFolder() : before(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vellorin-game-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::filesystem::filesystem_error("mkdtemp", std::error_code(errno, std::generic_category()));
    folder = pattern;
    std::filesystem::current_path(folder);
}

ScratchFolder::~ScratchFolder() {
    std::filesystem::current_path(before);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
