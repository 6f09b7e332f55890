// Expansion straight into the caller's buffer: the ring is never built,
// since a ring position is just a distance back into what was produced, and
// anything before the first byte is the ring's initial spaces.

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "payload/szdd.h"
#include "payload/szdd_window.h"

namespace {

// Largest input and output one group can use (a flag byte and eight
// two-byte matches, producing at most 8 * 18 bytes), plus the slack the
// bulk loop's fixed-size copies may touch beyond the last item.
constexpr std::size_t GroupInputMax = 1 + 8 * 2;
constexpr std::size_t GroupOutputMax = 8 * SzddMaxMatch;
constexpr std::size_t CopySlack = 8;

struct Match {
    std::size_t distance;
    std::size_t length;
};

Match ReadMatch(const std::uint8_t* item, std::size_t produced) {
    const std::size_t position = item[0] | ((item[1] & 0xF0u) << 4);
    return {SzddDistance(produced, position), (item[1] & 0x0Fu) + SzddMinMatch};
}

// The careful copy: source bytes before the output's start are spaces, and
// the source may overlap what this match itself writes.
void CopyMatchSlow(std::uint8_t* out, std::size_t produced, Match m) {
    for (std::size_t k = 0; k < m.length; ++k) {
        const std::size_t at = produced + k;
        out[at] = at >= m.distance ? out[at - m.distance] : SzddWindowFill;
    }
}

// Copies Count chunks of Chunk bytes one after the other, so a chunk may
// read what the chunk before it wrote: enough for any match whose source is
// at least Chunk bytes back. Small fixed copies compile to plain moves,
// where one variable or 18-byte copy may become a slow string instruction.
template <std::size_t Chunk, std::size_t Count>
void CopyChunks(std::uint8_t* dst, const std::uint8_t* src) {
    static_assert(Chunk * Count >= SzddMaxMatch && Chunk * Count - SzddMaxMatch <= CopySlack);
    for (std::size_t k = 0; k < Count * Chunk; k += Chunk) std::memcpy(dst + k, src + k, Chunk);
}

// Caller guarantees room for SzddMaxMatch + CopySlack bytes at out +
// produced; later items overwrite the excess.
void CopyMatchFast(std::uint8_t* out, std::size_t produced, Match m) {
    if (m.distance > produced) {
        CopyMatchSlow(out, produced, m);
        return;
    }
    std::uint8_t* dst = out + produced;
    const std::uint8_t* src = dst - m.distance;
    if (m.distance >= 8) {
        CopyChunks<8, 3>(dst, src);
    } else if (m.distance >= 4) {
        CopyChunks<4, 5>(dst, src);
    } else if (m.distance == 1) {
        const std::uint32_t run = src[0] * 0x01010101u;
        for (std::size_t k = 0; k < 20; k += 4) std::memcpy(dst + k, &run, 4);
    } else {
        for (std::size_t k = 0; k < m.length; ++k) dst[k] = src[k];
    }
}

struct Stream {
    const std::uint8_t* in;
    const std::uint8_t* end;
    std::uint8_t* out;
    std::size_t produced;
    std::size_t total;
};

// Whole groups while they can neither run out of input nor pass the end of
// the output: no checks per item. Runs of literals go eight bytes at a time.
void ExpandBulk(Stream& s) {
    // Locals, not the stream's fields: every byte stored may alias them.
    const std::uint8_t* in = s.in;
    std::uint8_t* const out = s.out;
    std::size_t produced = s.produced;
    const std::size_t inputStop = GroupInputMax + CopySlack;
    const std::size_t outputStop = s.total >= GroupOutputMax + CopySlack ? s.total - GroupOutputMax - CopySlack : 0;
    while (static_cast<std::size_t>(s.end - in) >= inputStop && produced < outputStop) {
        unsigned flags = *in++;
        for (unsigned items = 8; items > 0;) {
            const unsigned literals = std::min<unsigned>(static_cast<unsigned>(std::countr_one(flags)), items);
            std::memcpy(out + produced, in, 8);
            in += literals;
            produced += literals;
            items -= literals;
            if (items == 0) break;
            const Match m = ReadMatch(in, produced);
            in += 2;
            CopyMatchFast(out, produced, m);
            produced += m.length;
            flags >>= literals + 1;
            --items;
        }
    }
    s.in = in;
    s.produced = produced;
}

// The last groups, every item checked against both ends. Bits left in the
// final flag byte after the last byte are padding. Encoders that write a
// group's flag byte before they know whether an item follows leave one flag
// byte with no items after a stream that ends on a full group; that byte is
// accepted, anything more is not.
bool ExpandTail(Stream& s, bool groupEnded) {
    while (s.produced < s.total) {
        if (s.in == s.end) return false;
        unsigned flags = *s.in++;
        int item = 0;
        for (; item < 8 && s.produced < s.total; ++item, flags >>= 1) {
            if (flags & 1) {
                if (s.in == s.end) return false;
                s.out[s.produced++] = *s.in++;
                continue;
            }
            if (s.end - s.in < 2) return false;
            const Match m = ReadMatch(s.in, s.produced);
            s.in += 2;
            if (m.length > s.total - s.produced) return false;
            CopyMatchSlow(s.out, s.produced, m);
            s.produced += m.length;
        }
        groupEnded = item == 8;
    }
    const auto left = s.end - s.in;
    return left == 0 || (left == 1 && groupEnded);
}

}  // namespace

std::optional<std::uint32_t> SzddExpandedLength(std::span<const std::uint8_t> file) {
    if (file.size() < SzddHeaderSize) return std::nullopt;
    SzddHeader header;
    std::memcpy(&header, file.data(), sizeof header);
    if (header.signature != SzddSignature || header.mode != SzddModeA) return std::nullopt;
    const auto& b = header.expandedLength;
    return static_cast<std::uint32_t>(b[0] | b[1] << 8 | b[2] << 16) | static_cast<std::uint32_t>(b[3]) << 24;
}

std::int32_t ExpandSzdd(std::span<const std::uint8_t> file, std::span<std::uint8_t> out) {
    const auto length = SzddExpandedLength(file);
    if (!length) return LzErrorRead;
    if (*length > out.size() || *length > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
        return LzErrorBadValue;
    }
    const auto data = file.subspan(SzddHeaderSize);
    Stream s{data.data(), data.data() + data.size(), out.data(), 0, *length};
    ExpandBulk(s);
    // The bulk loop only ever takes whole groups.
    if (!ExpandTail(s, true)) return LzErrorRead;
    return static_cast<std::int32_t>(s.produced);
}
