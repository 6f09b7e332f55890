#include "system/launch.h"

#include <windows.h>
#include <shellapi.h>

void LaunchProduct(const std::string& productFolder) {
    const std::string program = productFolder + "\\KVXS.exe";
    ShellExecuteA(nullptr, "open", program.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
