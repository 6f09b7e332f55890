// The expander on any bytes, into a buffer exactly as large as the header
// asks for (so the sanitizer sees a write one past it), and the compressor's
// round trip on the same bytes taken as a plain file.

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

  const std::vector<std::uint8_t> packed = CompressSzdd(in);
  std::vector<std::uint8_t> back(size);
  if (ExpandSzdd(packed, back) != static_cast<std::int32_t>(size)) std::abort();
  if (!std::equal(back.begin(), back.end(), in.begin())) std::abort();
  return 0;
}
