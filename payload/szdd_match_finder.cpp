// Hash chains over the window: one table for the nearest three-byte match
// and chains of four-byte hashes for longer ones. The decoder's initial
// spaces are laid in front of the input as real bytes, so matches that start
// in them need no special case. A walk stops at 18 bytes, the longest a
// match can be, which also keeps long runs cheap: the nearest candidate
// already matches.

#include <algorithm>
#include <bit>
#include <cstring>

#include "payload/szdd_match_finder.h"
#include "payload/szdd_window.h"

namespace {

constexpr unsigned HashBits = 16;
constexpr int MaxChainSteps = 256;

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

std::size_t CommonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
  std::size_t k = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; k + 8 <= limit; k += 8) {
      const std::uint64_t diff = Load64(a + k) ^ Load64(b + k);
      if (diff != 0) return k + static_cast<std::size_t>(std::countr_zero(diff)) / 8;
    }
  }
  while (k < limit && a[k] == b[k]) ++k;
  return k;
}

class MatchFinder {
 public:
  explicit MatchFinder(std::span<const std::uint8_t> in)
      : head3_(std::size_t{1} << HashBits, -1), head_(std::size_t{1} << HashBits, -1), prev_(SzddWindowSize, -1) {
    buf_.reserve(SzddWindowSize + in.size());
    buf_.assign(SzddWindowSize, SzddWindowFill);
    buf_.insert(buf_.end(), in.begin(), in.end());
    for (std::size_t p = 0; p < SzddWindowSize && p + SzddMinMatch <= buf_.size(); ++p) Insert(p);
  }

  // Longest match at input position i; `known` is one already proven
  // available there, so only longer candidates are worth comparing.
  SzddMatch Longest(std::size_t i, SzddMatch known) {
    const std::size_t cur = SzddWindowSize + i;
    const std::size_t limit = std::min(SzddMaxMatch, buf_.size() - cur);
    if (limit < SzddMinMatch) return {0, 0};
    Found best{std::max<std::size_t>(known.length, SzddMinMatch - 1), known.distance};
    if (best.length < SzddMinMatch) TryNearestTriple(cur, limit, best);
    if (best.length < limit && limit > SzddMinMatch) WalkChain(cur, limit, best);
    Insert(cur);
    if (best.length < SzddMinMatch) return {0, 0};
    return {static_cast<std::uint16_t>(best.distance), static_cast<std::uint8_t>(best.length)};
  }

 private:
  struct Found {
    std::size_t length;
    std::size_t distance;
  };

  // The nearest three-byte match is as good as any other of its length.
  void TryNearestTriple(std::size_t cur, std::size_t limit, Found& best) const {
    const std::int32_t c = head3_[Hash3(cur)];
    if (c < 0 || cur - c > SzddWindowSize) return;
    const std::size_t len = CommonLength(buf_.data() + c, buf_.data() + cur, limit);
    if (len > best.length) best = {len, cur - c};
  }

  // Longer matches share at least four bytes: walk those, nearest first.
  void WalkChain(std::size_t cur, std::size_t limit, Found& best) const {
    const std::uint8_t* here = buf_.data() + cur;
    std::int32_t c = head_[Hash(cur)];
    for (int steps = MaxChainSteps; c >= 0 && cur - c <= SzddWindowSize && steps > 0; --steps) {
      const std::uint8_t* there = buf_.data() + c;
      if (there[best.length] == here[best.length]) {
        const std::size_t len = CommonLength(there, here, limit);
        if (len > best.length) {
          best = {len, cur - c};
          if (len == limit) return;
        }
      }
      c = prev_[c % SzddWindowSize];
    }
  }

  std::uint32_t Hash3(std::size_t p) const {
    const std::uint32_t v = buf_[p] | buf_[p + 1] << 8 | buf_[p + 2] << 16;
    return (v * 2654435761u) >> (32 - HashBits);
  }
  std::uint32_t Hash(std::size_t p) const {
    const std::uint32_t v = buf_[p] | buf_[p + 1] << 8 | buf_[p + 2] << 16 | static_cast<std::uint32_t>(buf_[p + 3]) << 24;
    return (v * 2654435761u) >> (32 - HashBits);
  }

  void Insert(std::size_t p) {
    head3_[Hash3(p)] = static_cast<std::int32_t>(p);
    if (p + 4 > buf_.size()) return;
    const std::uint32_t h = Hash(p);
    prev_[p % SzddWindowSize] = head_[h];
    head_[h] = static_cast<std::int32_t>(p);
  }

  std::vector<std::uint8_t> buf_;
  std::vector<std::int32_t> head3_;
  std::vector<std::int32_t> head_;
  std::vector<std::int32_t> prev_;
};

}  // namespace

std::vector<SzddMatch> FindLongestMatches(std::span<const std::uint8_t> in) {
  std::vector<SzddMatch> longest(in.size(), SzddMatch{0, 0});
  MatchFinder finder(in);
  SzddMatch known{0, 0};
  for (std::size_t i = 0; i < in.size(); ++i) {
    longest[i] = finder.Longest(i, known);
    // The same source one byte further on is a match one byte shorter.
    const SzddMatch& m = longest[i];
    known = m.length > SzddMinMatch ? SzddMatch{m.distance, static_cast<std::uint8_t>(m.length - 1)} : SzddMatch{0, 0};
  }
  return longest;
}
