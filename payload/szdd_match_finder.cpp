// Hash chains over the window. Candidates sharing eight bytes are walked
// far, those sharing only four briefly (a longer match among them would be
// on the first chain), and a table keeps the nearest three-byte match. The
// decoder's initial spaces are laid in front of the input as real bytes, so
// matches that start in them need no special case. A walk stops at 18 bytes,
// the longest a match can be, which also keeps long runs cheap: the nearest
// candidate already matches.

#include <algorithm>
#include <bit>
#include <cstring>

#include "payload/szdd_match_finder.h"
#include "payload/szdd_window.h"

namespace {

constexpr unsigned MaxHashBits = 16;
constexpr unsigned MinHashBits = 12;

// Small inputs get small tables: clearing them would cost more than the
// search.
unsigned HashBitsFor(std::size_t size) {
    unsigned bits = MinHashBits;
    while (bits < MaxHashBits && (std::size_t{1} << bits) < size) ++bits;
    return bits;
}
constexpr int ShortChainSteps = 32;
constexpr int LongChainSteps = 256;
constexpr std::size_t LongPrefix = 8;

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
        : shift_(32 - HashBitsFor(SzddWindowSize + in.size())),
          head3_(std::size_t{1} << (32 - shift_), -1),
          short_{std::vector<std::int32_t>(std::size_t{1} << (32 - shift_), -1),
                 std::vector<std::int32_t>(SzddWindowSize, -1)},
          long_{short_} {
        buf_.reserve(SzddWindowSize + in.size());
        buf_.assign(SzddWindowSize, SzddWindowFill);
        buf_.insert(buf_.end(), in.begin(), in.end());
        for (std::size_t p = 0; p < SzddWindowSize && p + SzddMinMatch <= buf_.size(); ++p) Insert(p);
    }

    // Longest match at input position i; `known` is one already proven
    // available there: it is measured first, and only longer candidates are
    // worth comparing after it.
    SzddMatch Longest(std::size_t i, SzddMatch known) {
        const std::size_t cur = SzddWindowSize + i;
        const std::size_t limit = std::min(SzddMaxMatch, buf_.size() - cur);
        if (limit < SzddMinMatch) return {0, 0};
        Found best{SzddMinMatch - 1, 0};
        if (known.length > 0) {
            // The source that served the previous position often goes on further.
            best = {CommonLength(buf_.data() + cur - known.distance, buf_.data() + cur, limit), known.distance};
        }
        if (limit >= LongPrefix) WalkChain(long_, HashLong(cur), LongChainSteps, cur, limit, best);
        if (best.length < LongPrefix && limit > SzddMinMatch)
            WalkChain(short_, HashShort(cur), ShortChainSteps, cur, limit, best);
        if (best.length < SzddMinMatch) TryNearestTriple(cur, limit, best);
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

    struct Chains {
        std::vector<std::int32_t> head;
        std::vector<std::int32_t> prev;
    };

    // Candidates that share a hashed prefix, nearest first.
    void WalkChain(const Chains& chains, std::uint32_t hash, int maxSteps, std::size_t cur, std::size_t limit,
                   Found& best) const {
        if (best.length >= limit) return;
        const std::uint8_t* here = buf_.data() + cur;
        std::int32_t c = chains.head[hash];
        for (int steps = maxSteps; c >= 0 && cur - c <= SzddWindowSize && steps > 0; --steps) {
            const std::uint8_t* there = buf_.data() + c;
            if (there[best.length] == here[best.length]) {
                const std::size_t len = CommonLength(there, here, limit);
                if (len > best.length) {
                    best = {len, cur - c};
                    if (len == limit) return;
                }
            }
            c = chains.prev[c % SzddWindowSize];
        }
    }

    std::uint32_t Hash3(std::size_t p) const {
        const std::uint32_t v = buf_[p] | buf_[p + 1] << 8 | buf_[p + 2] << 16;
        return (v * 2654435761u) >> shift_;
    }
    std::uint32_t HashShort(std::size_t p) const {
        std::uint32_t v;
        std::memcpy(&v, buf_.data() + p, sizeof v);
        return (v * 2654435761u) >> shift_;
    }
    std::uint32_t HashLong(std::size_t p) const {
        return static_cast<std::uint32_t>((Load64(buf_.data() + p) * 0x9E3779B97F4A7C15ull) >> (32 + shift_));
    }

    static void Link(Chains& chains, std::uint32_t hash, std::size_t p) {
        chains.prev[p % SzddWindowSize] = chains.head[hash];
        chains.head[hash] = static_cast<std::int32_t>(p);
    }

    void Insert(std::size_t p) {
        head3_[Hash3(p)] = static_cast<std::int32_t>(p);
        if (p + 4 <= buf_.size()) Link(short_, HashShort(p), p);
        if (p + LongPrefix <= buf_.size()) Link(long_, HashLong(p), p);
    }

    unsigned shift_;
    std::vector<std::uint8_t> buf_;
    std::vector<std::int32_t> head3_;
    Chains short_;
    Chains long_;
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
        known =
            m.length > SzddMinMatch ? SzddMatch{m.distance, static_cast<std::uint8_t>(m.length - 1)} : SzddMatch{0, 0};
    }
    return longest;
}
