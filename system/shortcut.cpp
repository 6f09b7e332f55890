#include "system/shortcut.h"

#include <shlobj.h>

#include <array>

#include "framework/com.h"

HRESULT CreateShortcut(std::string target, std::string linkPath, std::string description) {
    ComPtr<IShellLinkA> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      link.put());
    if (FAILED(result)) return result;
    link->SetPath(target.c_str());
    link->SetDescription(description.c_str());

    // Declared after the link, so it is released first.
    ComPtr<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.put());
    if (FAILED(result)) return result;

    std::array<wchar_t, MAX_PATH> widePath{};
    if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath.data(),
                            static_cast<int>(widePath.size())) == 0)
        return HRESULT_FROM_WIN32(GetLastError());
    return file->Save(widePath.data(), TRUE);
}

void CreateProductShortcuts(const std::string& productFolder, const ShellFolders& folders) {
    const std::string target = productFolder + "\\KVX.exe";
    for (const std::string* folder : {&folders.desktop, &folders.programs}) {
        if (folder->empty()) continue;
        (void)CreateShortcut(target, *folder + "\\KVX.lnk", "Nalvora");
    }
}
