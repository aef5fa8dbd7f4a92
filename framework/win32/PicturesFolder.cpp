// The Pictures known folder. Its path is handed on in the ANSI code page the
// file streams take; a path that code page cannot spell is not used.
#include "framework/PicturesFolder.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace lum {

namespace {

std::string toAnsi(const wchar_t* wide) {
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, &lossy);
    if (size <= 1 || lossy) return "";
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, &narrow[0], size, nullptr, &lossy);
    narrow.resize(static_cast<std::size_t>(size - 1));
    return lossy ? "" : narrow;
}

} // namespace

std::string PicturesFolder::find() {
    PWSTR wide = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(FOLDERID_Pictures, 0, nullptr, &wide) == S_OK) folder = toAnsi(wide);
    CoTaskMemFree(wide);
    const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return "";
    return folder;
}

} // namespace lum
