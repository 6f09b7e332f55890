#include "system/registry.h"

#include "system/registry_walk.h"

namespace {

constexpr char kMainProgramName[] = "KVX.exe";
constexpr char kProductName[] = "Nalvora";
// 260 bytes of text and its NUL.
constexpr DWORD kAppPathBufferSize = 261;

}  // namespace

std::string ReadAppPathFolder() {
    KeyWalk walk(HKEY_LOCAL_MACHINE);
    walk.Open({"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "App Paths", kMainProgramName});
    return QueryText(walk.key(), "Path", kAppPathBufferSize);
}

void WriteSetting(std::string keyName, std::string valueName, std::string data) {
    KeyWalk walk(HKEY_CURRENT_USER);
    walk.Open({"Software"}).Create({"Corvane Software", "KVX", keyName.c_str()});
    SetText(walk.key(), valueName.c_str(), data);
}

void WriteAppPathEntry(const std::string& productFolder) {
    KeyWalk walk(HKEY_LOCAL_MACHINE);
    walk.Open({"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "App Paths"})
        .Create({kMainProgramName});
    SetText(walk.key(), nullptr, productFolder + "\\" + kMainProgramName);
    SetText(walk.key(), "Path", productFolder);
}

void WriteUninstallEntry(const std::string& productFolder) {
    KeyWalk walk(HKEY_LOCAL_MACHINE);
    walk.Open({"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "Uninstall"})
        .Create({kProductName});
    SetText(walk.key(), "DisplayName", kProductName);
    // Quoted, so that a folder with spaces never runs C:\Program.exe instead.
    SetText(walk.key(), "UninstallString", "\"" + productFolder + "\\KVXuninstall.exe\"");
}
