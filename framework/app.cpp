#include "framework/app.h"

#include <array>

CWinApp* CWinApp::current_ = nullptr;

CWinApp::CWinApp() { current_ = this; }

CWinApp::~CWinApp() {
    if (current_ == this) current_ = nullptr;
}

int CWinApp::Run(HINSTANCE instance) {
    instance_ = instance;
    displayName_ = ApplicationDisplayName();
    if (!InitInstance()) return 0;
    // Nothing in this installer keeps a message loop of its own beyond the
    // modal dialogs; an application that returned true would pump here.
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

int RunApplication(HINSTANCE instance) {
    CWinApp* app = CWinApp::Current();
    return app ? app->Run(instance) : 1;
}

std::string ApplicationDisplayName() {
    std::array<char, MAX_PATH + 1> path{};
    DWORD length = GetModuleFileNameA(nullptr, path.data(), MAX_PATH);
    std::string name(path.data(), length);
    // Only the last component counts; a dot in a folder name is no extension.
    if (auto slash = name.find_last_of("\\/:"); slash != std::string::npos) name.erase(0, slash + 1);
    if (auto dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
    return name;
}
