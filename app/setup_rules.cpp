#include "app/setup_rules.h"

#include <cctype>

int PlatformKind(unsigned long platformId) {
    if (platformId & 2) return 2;
    if (platformId & 1) return 1;
    return 0;
}

std::string DefaultInstallFolder(const std::string& windowsDirectory) {
    std::string drive = windowsDirectory.substr(0, 2);
    for (char& c : drive) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    bool hasDrive = drive.size() == 2 && drive[0] >= 'A' && drive[0] <= 'Z' && drive[1] == ':';
    return (hasDrive ? drive + "\\Program Files" : std::string()) + "\\Corvane Software";
}

std::optional<std::string> PreviousInstallFolder(const std::string& recorded) {
    if (recorded.size() < 4) return std::nullopt;
    std::string tail = recorded.substr(recorded.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (tail != "\\KVX") return std::nullopt;
    return recorded.substr(0, recorded.size() - 4);
}

std::string FolderFromBrowser(std::string browsed) {
    if (browsed.size() >= 2 && browsed.back() == '\\') browsed.pop_back();
    return browsed;
}
