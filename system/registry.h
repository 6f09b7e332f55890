#pragma once
// The product's registry entries: its App Paths entry, its entry in the list
// of installed programs and its per-user settings. All silent.
#include <string>

// The "Path" of an earlier installation's App Paths entry; empty when there
// is none or it cannot be read whole.
[[nodiscard]] std::string ReadAppPathFolder();

// Stores data as the value valueName of the settings key keyName below the
// user's "Software\Corvane Software\KVX".
void WriteSetting(std::string keyName, std::string valueName, std::string data);

// Lets the shell find KVX.exe by its name and records where it lives.
void WriteAppPathEntry(const std::string& productFolder);

// Lists the product among the installed programs, with the uninstaller that
// the install run places in productFolder.
void WriteUninstallEntry(const std::string& productFolder);
