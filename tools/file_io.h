#pragma once
// Whole-file reads and all-or-nothing writes for kvxpack. Failures throw
// std::runtime_error with a message naming the file.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

[[nodiscard]] std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

// Writes to a temporary name in the same folder and renames it over path at
// the end, so path is either the complete new file or what it was before.
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
