#pragma once
// The setup dialog's decisions that need no window: which platform family we
// run on, which folder to propose, how browsed and typed folders are trimmed.
#include <optional>
#include <string>

// 2 for the NT family, 1 for the Windows 95/98 family, 0 for anything else
// (Win32s). Only the platform identifier's bits count, never the version.
int PlatformKind(unsigned long platformId);

// The proposed install folder for a Windows directory: "\Program Files\Corvane
// Software" on the Windows drive, or "\Corvane Software" when the Windows
// directory does not begin with a drive letter.
std::string DefaultInstallFolder(const std::string& windowsDirectory);

// An earlier installation's install folder from the product folder the
// registry recorded, when it ends in "\KVX" (any letter case).
std::optional<std::string> PreviousInstallFolder(const std::string& recordedProductFolder);

// The folder browser's result (always ending in a backslash) as an install
// folder: one trailing backslash dropped, so a drive root D:\ becomes D:.
std::string FolderFromBrowser(std::string browsed);
