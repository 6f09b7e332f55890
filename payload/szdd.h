#pragma once
// SZDD mode A: the LZ format that the platform's LZ32 expands. The installer
// expands with ExpandSzdd instead of LZ32 because LZ32 cannot tell a damaged
// file from a good one; kvxpack writes the files with CompressSzdd.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

inline constexpr std::int32_t LzErrorRead = -3;      // LZERROR_READ
inline constexpr std::int32_t LzErrorBadValue = -7;  // LZERROR_BADVALUE

inline constexpr std::array<std::uint8_t, 8> SzddSignature{'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
inline constexpr std::uint8_t SzddModeA = 'A';

// The header as it stands in the file; every field is bytes, so the layout
// has no padding and the expanded length is read little-endian by hand.
struct SzddHeader {
    std::array<std::uint8_t, 8> signature;
    std::uint8_t mode;
    std::uint8_t missingNameChar;
    std::array<std::uint8_t, 4> expandedLength;
};
static_assert(sizeof(SzddHeader) == 14);
static_assert(std::is_trivially_copyable_v<SzddHeader>);
inline constexpr std::size_t SzddHeaderSize = sizeof(SzddHeader);

// The expanded length a well-formed mode-A header announces, or nothing
// when the file is too short, the signature is wrong or the mode is not A.
[[nodiscard]] std::optional<std::uint32_t> SzddExpandedLength(std::span<const std::uint8_t> file);

// Expands a complete SZDD file image into out. Returns the number of bytes
// produced (always the header's expanded length), LzErrorBadValue when that
// length does not fit in out (nothing is decoded), or LzErrorRead for a bad
// header or a stream that does not produce exactly that length and end there.
// Safe on any input.
[[nodiscard]] std::int32_t ExpandSzdd(std::span<const std::uint8_t> file, std::span<std::uint8_t> out);

// A standard mode-A SZDD file of in (missing-name byte 0), parsed for the
// smallest output the 4 KB window allows. Same input, same bytes.
[[nodiscard]] std::vector<std::uint8_t> CompressSzdd(std::span<const std::uint8_t> in);
