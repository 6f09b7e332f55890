#include "browse/directory_search.h"

UniqueFind StartDirectorySearch(const std::string& pattern, WIN32_FIND_DATAA& entry) {
    return UniqueFind(FindFirstFileA(pattern.c_str(), &entry));
}
