#pragma once
// Starting the installed product once the install has completed.
#include <string>

// Opens productFolder\KVXS.exe through the shell. A program that cannot be
// started shows nothing.
void LaunchProduct(const std::string& productFolder);
