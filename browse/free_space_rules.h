#pragma once
// The free-space text without the platform: which root path the drive is
// asked about, and how its four counts become the text.
#include <cstdint>
#include <functional>
#include <string>

// What GetDiskFreeSpaceA reports for a drive.
struct DiskCounts {
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
    std::uint32_t freeClusters = 0;
    std::uint32_t totalClusters = 0;
};

// Asks the drive at a root path for its counts; false when it cannot be asked.
using DiskCountsQuery = std::function<bool(const std::string& root, DiskCounts& counts)>;

// The root path asked about: a backslash appended unless there is one, then
// cut to three characters when the text was longer than three (C:\...\x ->
// C:\, C: -> C:\, "" -> \, AB -> AB\).
[[nodiscard]] std::string FreeSpaceRoot(std::string folder);

// "%dMB free" from 8,192 KB on, "%dKB free" below, empty from FFFF0000 KB on.
[[nodiscard]] std::string FreeSpaceFromCounts(const DiskCounts& counts);

// The whole rule over any source of counts: empty text when the query fails.
[[nodiscard]] std::string FreeSpaceTextFrom(std::string folder, const DiskCountsQuery& query);
