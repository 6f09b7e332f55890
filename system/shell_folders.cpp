#include "system/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

#include <array>

#include "system/registry_walk.h"

namespace {

// 259 bytes of text and its NUL.
constexpr DWORD kShellFolderBufferSize = 260;

std::string AskShell(int csidl) {
    std::array<char, MAX_PATH> path{};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path.data()))) return {};
    return path.data();
}

}  // namespace

ShellFolders ReadShellFolders() {
    ShellFolders folders;
    {
        KeyWalk walk(HKEY_CURRENT_USER);
        walk.Open({"Software", "Microsoft", "Windows", "CurrentVersion", "Explorer", "Shell folders"});
        folders.desktop = QueryText(walk.key(), "Desktop", kShellFolderBufferSize);
        folders.programs = QueryText(walk.key(), "Programs", kShellFolderBufferSize);
    }
    // An empty folder would put the shortcut at the root of the current drive.
    if (folders.desktop.empty()) folders.desktop = AskShell(CSIDL_DESKTOPDIRECTORY);
    if (folders.programs.empty()) folders.programs = AskShell(CSIDL_PROGRAMS);
    return folders;
}
