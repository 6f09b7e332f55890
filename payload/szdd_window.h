#pragma once
// The LZSS window of SZDD mode A, shared by the expander and the compressor.
// The ring starts full of spaces with the write position 16 bytes before its
// end; a match names an absolute ring position, which both sides turn into
// a distance back from the byte being produced.

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t SzddWindowSize = 4096;
inline constexpr std::size_t SzddWindowStart = SzddWindowSize - 16;
inline constexpr std::uint8_t SzddWindowFill = 0x20;
inline constexpr std::size_t SzddMinMatch = 3;
inline constexpr std::size_t SzddMaxMatch = 18;

// Distance back (1 to 4096) from output byte `produced` to ring position
// `position`. Naming the write position itself means the oldest byte, 4096
// back, which the ring still holds until this very byte overwrites it.
[[nodiscard]] constexpr std::size_t SzddDistance(std::size_t produced, std::size_t position) {
    const std::size_t write = (SzddWindowStart + produced) % SzddWindowSize;
    const std::size_t back = (write - position) % SzddWindowSize;
    return back == 0 ? SzddWindowSize : back;
}

// The ring position a match names when it copies from `distance` back.
[[nodiscard]] constexpr std::size_t SzddPosition(std::size_t produced, std::size_t distance) {
    return (SzddWindowStart + produced + SzddWindowSize - distance) % SzddWindowSize;
}

static_assert(SzddDistance(0, SzddWindowStart) == SzddWindowSize);
static_assert(SzddDistance(1, SzddWindowStart) == 1);
static_assert(SzddDistance(16, 0) == 4096 && SzddDistance(17, 0) == 1);
static_assert(SzddPosition(5, SzddDistance(5, 123)) == 123);
