// The directory search of test and benchmark builds: counts every search
// started, so tests can tell which folders the browser touched.
#include "browse/directory_search.h"
#include "browse/search_count.h"

namespace {
long searches = 0;
}  // namespace

long DirectorySearchCount() { return searches; }
void ResetDirectorySearchCount() { searches = 0; }

UniqueFind StartDirectorySearch(const std::string& pattern, WIN32_FIND_DATAA& entry) {
    ++searches;
    return UniqueFind(FindFirstFileA(pattern.c_str(), &entry));
}
