#include "framework/message_box.h"

#include "framework/app.h"

int AppMessageBox(const std::string& text, UINT type) {
    if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
    const CWinApp* app = CWinApp::Current();
    std::string title = app ? app->DisplayName() : ApplicationDisplayName();
    return MessageBoxA(ActiveDialogWindow(), text.c_str(), title.c_str(), type);
}
