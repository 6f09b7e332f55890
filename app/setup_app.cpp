#include "app/setup_app.h"

#include <windows.h>
#include <commctrl.h>

#include "app/setup_dialog.h"
#include "app/setup_rules.h"
#include "framework/message_box.h"

namespace {
SetupApp theApp;
}  // namespace

// Constructed after the application object, released before it.
const std::string MainProgramName = "KVX.exe";

SetupApp& TheSetupApp() { return theApp; }

bool SetupApp::InitInstance() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = 148;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&version);
#pragma GCC diagnostic pop
    int kind = PlatformKind(version.dwPlatformId);
    if (kind == 0) {
        AppMessageBox("Only Windows 95, 98 or NT4.0", MB_OK);
        return false;
    }
    m_platformKind = kind;
    // Windows 4.0 and later draw dialog controls in 3-D themselves. The common
    // controls library registers the folder browser's tree view class.
    InitCommonControls();
    {
        // The setup dialog is the only window; its modal run is the whole program.
        SetupDialog dialog(nullptr);
        dialog.DoModal();
    }
    return false;
}
