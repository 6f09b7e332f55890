#include "payload/folder_helpers.h"

#include <windows.h>

#include "framework/handle.h"

namespace {

// Creates one level whose parent is known to exist. Unlike CreateFolderPath
// it never climbs: a path that still cannot be found (a file standing where a
// parent folder should be) would otherwise send the recursion round forever.
int CreateFolderLevel(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return 1;
    return GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0;
}

// Byte position of the last backslash, walking whole characters of the ANSI
// code page so that a double-byte character's trail byte 0x5C is skipped.
std::string::size_type LastBackslash(const std::string& path) {
    auto last = std::string::npos;
    const char* begin = path.c_str();
    for (const char* p = begin; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\') last = static_cast<std::string::size_type>(p - begin);
    }
    return last;
}

}  // namespace

int CreateFolderPath(std::string path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return 1;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return 1;
    if (error != ERROR_PATH_NOT_FOUND) return 0;

    const std::string last = ParentFolder(path);
    if (last.empty()) return 0;
    if (!CreateFolderPath(path)) return 0;
    return CreateFolderLevel(path + "\\" + last);
}

std::string ParentFolder(std::string& path) {
    const auto slash = LastBackslash(path);
    if (slash == std::string::npos || slash == 0) return {};

    std::string last = path.substr(slash + 1);
    path.resize(slash);
    // The parent's last byte may be a trail byte 0x5C, so ask the walk again.
    if (path.size() < 3 || LastBackslash(path) == path.size() - 1) last.clear();
    return last;
}

int FileHasContent(std::string path) {
    WIN32_FIND_DATAA entry{};
    UniqueFind find(FindFirstFileA(path.c_str(), &entry));
    if (!find || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    return (entry.nFileSizeHigh != 0 || entry.nFileSizeLow != 0) ? 1 : 0;
}
