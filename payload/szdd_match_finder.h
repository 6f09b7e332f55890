#pragma once
// Longest-match search over the SZDD window for the compressor's parse.

#include <cstdint>
#include <span>
#include <vector>

struct SzddMatch {
    std::uint16_t distance;  // 1 to 4096 back from the position
    std::uint8_t length;     // 0 when no match of at least 3 bytes exists
};

// For every position of in, the longest match the decoder's window offers
// there: earlier input and, before the input's start, the window's initial
// spaces. Lengths never run past the end of in.
[[nodiscard]] std::vector<SzddMatch> FindLongestMatches(std::span<const std::uint8_t> in);
