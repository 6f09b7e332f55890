#pragma once
// The payload resource: SZDD files laid end to end, each behind a 32-bit
// little-endian length and without the "SZDD" that starts its signature,
// closed by a length of 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "payload/szdd.h"

inline constexpr std::size_t PayloadLengthSize = 4;
inline constexpr std::size_t SzddDroppedPrefix = 4;  // "SZDD"
static_assert(sizeof(std::uint32_t) == PayloadLengthSize);
static_assert(SzddHeaderSize - SzddDroppedPrefix == 10, "a body starts with the 10 header bytes after \"SZDD\"");

struct PayloadEntry {
    std::size_t body;      // offset of the body in the payload
    std::uint32_t length;  // stored length G
};

// The entry whose length prefix stands at pos. Nothing at the end marker;
// nothing, with damaged set, when the prefix or the body would run past the
// end of the payload (the body is then never read).
[[nodiscard]] std::optional<PayloadEntry> NextPayloadEntry(std::span<const std::uint8_t> payload, std::size_t pos,
                                                           bool& damaged);

// Where the entry after e starts.
[[nodiscard]] constexpr std::size_t PayloadEntryEnd(PayloadEntry e) { return e.body + e.length; }

struct PayloadWalk {
    std::vector<PayloadEntry> entries;
    bool damaged = false;
    bool endMarker = false;  // the walk stopped at a length of 0
    std::size_t end = 0;     // offset just after the last thing read
};

// Entries from the start, at most maxEntries (the installer reads as many
// as it has names for).
[[nodiscard]] PayloadWalk WalkPayload(std::span<const std::uint8_t> payload, std::size_t maxEntries);

// The complete SZDD file of an entry: "SZDD" put back in front of its body.
[[nodiscard]] std::vector<std::uint8_t> RestoreSzdd(std::span<const std::uint8_t> payload, PayloadEntry e);

// The payload of these SZDD files, in this order. Throws
// std::invalid_argument for a file that does not start with the SZDD
// signature or is too long for a length prefix.
[[nodiscard]] std::vector<std::uint8_t> BuildPayload(std::span<const std::vector<std::uint8_t>> szddFiles);
