#include "browse/free_space_rules.h"

namespace {
constexpr std::uint64_t kilobytesShownInMegabytes = 8192;
// From here on the figure is not shown at all: a bound kept below 2^32 KB so
// that every figure shown fits a 32-bit number.
constexpr std::uint64_t kilobyteLimit = 0xFFFF0000u;
}  // namespace

std::string FreeSpaceRoot(std::string folder) {
    const std::size_t length = folder.size();
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    if (length > 3) folder.resize(3);
    return folder;
}

std::string FreeSpaceFromCounts(const DiskCounts& counts) {
    // 64 bits throughout: clusters times cluster size overflows 32 bits on
    // any drive above 4 GB.
    const std::uint64_t clusterBytes = std::uint64_t{counts.bytesPerSector} * counts.sectorsPerCluster;
    const std::uint64_t kilobytes = std::uint64_t{counts.freeClusters} * clusterBytes / 1024;
    if (kilobytes >= kilobyteLimit) return {};
    if (kilobytes >= kilobytesShownInMegabytes) return std::to_string(kilobytes / 1024) + "MB free";
    return std::to_string(kilobytes) + "KB free";
}

std::string FreeSpaceTextFrom(std::string folder, const DiskCountsQuery& query) {
    DiskCounts counts;
    if (!query(FreeSpaceRoot(std::move(folder)), counts)) return {};
    return FreeSpaceFromCounts(counts);
}
