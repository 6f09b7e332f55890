#pragma once
// Shell shortcuts to the installed product. The caller's thread must be in a
// COM apartment (see framework/com.h).
#include <windows.h>

#include <string>

#include "system/shell_folders.h"

// Saves a shortcut to target at linkPath. Gives the first failure of the
// shell link object, or the result of the save. A linkPath longer than 259
// characters fails without saving.
HRESULT CreateShortcut(std::string target, std::string linkPath, std::string description);

// Places "KVX.lnk" for the product's KVX.exe in the Desktop and Programs
// folders; a folder that is unknown gets no shortcut. Failures are silent.
void CreateProductShortcuts(const std::string& productFolder, const ShellFolders& folders);
