#pragma once
// Every message box of the installer: modal, owned by the dialog on screen
// (none before the first dialog exists), titled with the application's display
// name, with the exclamation icon unless the caller asks for another.
#include <windows.h>

#include <string>

int AppMessageBox(const std::string& text, UINT type = MB_OK);

// The dialog on screen: the innermost modal dialog that is running, or null.
HWND ActiveDialogWindow();
