#pragma once
// The commands of kvxpack. Each throws std::runtime_error with a message for
// the user when it cannot do its work; no command leaves a partial file.

#include <filesystem>
#include <iosfwd>

void CompressCommand(const std::filesystem::path& in, const std::filesystem::path& out);
void ExpandCommand(const std::filesystem::path& in, const std::filesystem::path& out);
void PackCommand(const std::filesystem::path& folder, const std::filesystem::path& out);
void ListCommand(const std::filesystem::path& file, std::ostream& out);
void ExtractCommand(const std::filesystem::path& file, const std::filesystem::path& folder);
// Reports every problem found on out; false when there was one.
[[nodiscard]] bool VerifyCommand(const std::filesystem::path& file, std::ostream& out);
