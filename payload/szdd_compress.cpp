// Compression in two passes: find the longest match at every position, then
// choose literals and match lengths from the end backwards for the fewest
// bits (a literal costs 9, any match 17). Since every shorter prefix of the
// longest match is a match too, the longest one per position is all the
// parse needs.

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "payload/szdd.h"
#include "payload/szdd_match_finder.h"
#include "payload/szdd_window.h"

namespace {

constexpr std::uint32_t LiteralBits = 9;
constexpr std::uint32_t MatchBits = 17;

// Length chosen at each position (1 = literal), cheapest to the end.
std::vector<std::uint8_t> ChooseParse(const std::vector<SzddMatch>& longest) {
    const std::size_t n = longest.size();
    std::vector<std::uint32_t> cost(n + 1, 0);
    std::vector<std::uint8_t> choice(n, 1);
    for (std::size_t i = n; i-- > 0;) {
        std::uint32_t best = cost[i + 1] + LiteralBits;
        for (std::size_t len = SzddMinMatch; len <= longest[i].length; ++len) {
            const std::uint32_t c = cost[i + len] + MatchBits;
            if (c <= best) {
                best = c;
                choice[i] = static_cast<std::uint8_t>(len);
            }
        }
        cost[i] = best;
    }
    return choice;
}

class GroupWriter {
public:
    explicit GroupWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Literal(std::uint8_t byte) {
        StartItem(true);
        out_.push_back(byte);
    }

    void Match(std::size_t produced, std::size_t distance, std::size_t length) {
        StartItem(false);
        const std::size_t position = SzddPosition(produced, distance);
        out_.push_back(static_cast<std::uint8_t>(position & 0xFF));
        out_.push_back(static_cast<std::uint8_t>(((position >> 4) & 0xF0) | (length - SzddMinMatch)));
    }

private:
    // A flag byte is written only when an item needs it, so the stream never
    // ends with an empty group.
    void StartItem(bool literal) {
        if (items_ % 8 == 0) {
            flagAt_ = out_.size();
            out_.push_back(0);
        }
        if (literal) out_[flagAt_] |= static_cast<std::uint8_t>(1u << (items_ % 8));
        ++items_;
    }

    std::vector<std::uint8_t>& out_;
    std::size_t flagAt_ = 0;
    std::size_t items_ = 0;
};

void WriteHeader(std::vector<std::uint8_t>& out, std::uint32_t length) {
    SzddHeader header{SzddSignature,
                      SzddModeA,
                      0,
                      {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                       static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)}};
    out.resize(sizeof header);
    std::memcpy(out.data(), &header, sizeof header);
}

}  // namespace

std::vector<std::uint8_t> CompressSzdd(std::span<const std::uint8_t> in) {
    if (in.size() > 0xFFFFFFFFu) throw std::length_error("SZDD holds at most 4 GB");
    const std::vector<SzddMatch> longest = FindLongestMatches(in);
    const std::vector<std::uint8_t> choice = ChooseParse(longest);

    std::vector<std::uint8_t> out;
    out.reserve(SzddHeaderSize + in.size() + in.size() / 8 + 2);
    WriteHeader(out, static_cast<std::uint32_t>(in.size()));
    GroupWriter writer(out);
    for (std::size_t i = 0; i < in.size(); i += choice[i]) {
        if (choice[i] == 1) {
            writer.Literal(in[i]);
        } else {
            writer.Match(i, longest[i].distance, choice[i]);
        }
    }
    return out;
}
