#pragma once
// Finds a resource in a PE file image held in memory, without the platform's
// loader, so kvxpack can read a built setup.exe on any host. Every offset
// and size read from the image is checked against it: a truncated or hostile
// image gives nothing, never a read outside it.

#include <cstdint>
#include <optional>
#include <span>

inline constexpr std::uint16_t RtRcdata = 10;
inline constexpr std::uint16_t PayloadResourceId = 136;
inline constexpr std::uint16_t PayloadLanguage = 1033;

// True when the image has the DOS and PE signatures of an executable.
[[nodiscard]] bool IsPeImage(std::span<const std::uint8_t> image);

// The bytes of resource (type, id) in the language asked for, or, when that
// language is missing, in the first one listed.
[[nodiscard]] std::optional<std::span<const std::uint8_t>> FindPeResource(std::span<const std::uint8_t> image,
                                                                          std::uint16_t type, std::uint16_t id,
                                                                          std::uint16_t language);
