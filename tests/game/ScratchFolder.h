// A fresh empty folder made the working directory for as long as the object
// lives; the previous working directory is restored and the folder removed.
#pragma once

#include <filesystem>

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    const std::filesystem::path& previous() const { return before; }

private:
    std::filesystem::path before;
    std::filesystem::path folder;
};
