// The expander on any bytes, into a buffer exactly as large as the header
// asks for, so the sanitizer sees a write one past it.

#include <cstdlib>
#include <vector>

#include "payload/szdd.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> in(data, size);
    const auto length = SzddExpandedLength(in);
    std::vector<std::uint8_t> out(length && *length <= (1u << 20) ? *length : 64);
    const std::int32_t n = ExpandSzdd(in, out);
    if (n >= 0 && (!length || static_cast<std::uint32_t>(n) != *length)) std::abort();
    if (n < 0 && n != LzErrorRead && n != LzErrorBadValue) std::abort();
    return 0;
}
