#pragma once
// The LZ expansion contract of the install run: open a compressed file, read
// up to a count of expanded bytes in one call, close. It stands in for the
// platform's LZ32, which cannot tell a damaged file from a good one (it hands
// back raw or short data as if all were well); this one is strict.
#include <cstdint>
#include <span>
#include <string>

#include "framework/handle.h"

inline constexpr std::int32_t LzErrorBadInHandle = -1;  // LZERROR_BADINHANDLE

class LzFile {
public:
    // Opens for reading and denies write access to others. A failed open
    // shows as a failed read.
    explicit LzFile(const std::string& path);

    // The number of expanded bytes placed in buffer, or a negative code:
    // LzErrorRead (-3) for a file that is not a sound SZDD file,
    // LzErrorBadValue when the file would not fit whole, LzErrorBadInHandle
    // when the file could not be opened or read.
    [[nodiscard]] std::int32_t Read(std::span<std::uint8_t> buffer);

private:
    UniqueFile file_;
};
