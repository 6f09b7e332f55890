// The compressor on any bytes: its file expands back to exactly them.

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "payload/szdd.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> in(data, size);
    const std::vector<std::uint8_t> packed = CompressSzdd(in);
    std::vector<std::uint8_t> back(size);
    if (ExpandSzdd(packed, back) != static_cast<std::int32_t>(size)) std::abort();
    if (!std::equal(back.begin(), back.end(), in.begin())) std::abort();
    return 0;
}
