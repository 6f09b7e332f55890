#pragma once
// How much space is free on a folder's drive, as a short text for the
// dialogs ("123MB free", "456KB free"); empty when the drive cannot tell.
#include <string>

[[nodiscard]] std::string FreeSpaceText(std::string folder);
