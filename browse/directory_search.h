#pragma once
// The one place where the folder browser starts a directory search, so that
// test builds can count the searches it makes.
#include <windows.h>

#include <string>

#include "framework/handle.h"

// FindFirstFileA on pattern: the first entry lands in entry; an invalid
// handle when the search could not be started.
[[nodiscard]] UniqueFind StartDirectorySearch(const std::string& pattern, WIN32_FIND_DATAA& entry);
