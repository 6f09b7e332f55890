#pragma once
// The payload inside a file given to kvxpack: a built setup.exe (its
// resource 136) or a payload file as kvxpack pack writes it.

#include <cstdint>
#include <span>
#include <string>

// Throws std::runtime_error when a PE image holds no payload resource.
[[nodiscard]] std::span<const std::uint8_t> LocatePayload(std::span<const std::uint8_t> file, const std::string& name);
