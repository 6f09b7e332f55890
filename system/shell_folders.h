#pragma once
// Where the current user's Desktop and Start menu programs live.
#include <string>

// Each text is empty only when neither the registry nor the shell knows it.
struct ShellFolders {
    std::string desktop, programs;
};

// Reads the user's "Shell folders" values; a folder that cannot be read
// from there whole is asked of the shell instead.
[[nodiscard]] ShellFolders ReadShellFolders();
