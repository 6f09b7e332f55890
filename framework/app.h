#pragma once
// The application object: one per process, constructed as a global before
// start-up runs. The program's entry calls RunApplication, which calls the
// start-up hook; returning false there ends the process without a message loop.
#include <windows.h>

#include <string>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up hook. Returning false skips the message loop and ends the process.
    virtual bool InitInstance() = 0;

    // The executable's file name without its extension: the title of every
    // message box. A renamed installer shows its new name.
    [[nodiscard]] const std::string& DisplayName() const { return displayName_; }
    [[nodiscard]] HINSTANCE Instance() const { return instance_; }

    static CWinApp* Current() { return current_; }

    int Run(HINSTANCE instance);

private:
    HINSTANCE instance_ = nullptr;
    std::string displayName_;
    static CWinApp* current_;
};

// What the program's entry point calls: hands the process to the one application object.
int RunApplication(HINSTANCE instance);

// The display name for message boxes, also when no application object exists
// (the Win32 test executables): derived from the running module's file name.
std::string ApplicationDisplayName();
