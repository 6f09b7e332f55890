#include "browse/free_space.h"

#include <windows.h>

#include "browse/free_space_rules.h"

std::string FreeSpaceText(std::string folder) {
    return FreeSpaceTextFrom(std::move(folder), [](const std::string& root, DiskCounts& counts) {
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
            return false;
        counts = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
        return true;
    });
}
