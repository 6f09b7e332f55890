// Lengths are checked against the bytes that are left before anything is
// read: the walk is also how kvxpack looks into files it did not build.

#include <algorithm>
#include <stdexcept>

#include "payload/payload_format.h"

namespace {

std::uint32_t ReadLength(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<std::uint32_t>(p[3]) << 24;
}

void AppendLength(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

}  // namespace

std::optional<PayloadEntry> NextPayloadEntry(std::span<const std::uint8_t> payload, std::size_t pos, bool& damaged) {
    if (pos > payload.size() || payload.size() - pos < PayloadLengthSize) {
        damaged = true;
        return std::nullopt;
    }
    const std::uint32_t length = ReadLength(payload.data() + pos);
    if (length == 0) return std::nullopt;
    const std::size_t body = pos + PayloadLengthSize;
    if (payload.size() - body < length) {
        damaged = true;
        return std::nullopt;
    }
    return PayloadEntry{body, length};
}

PayloadWalk WalkPayload(std::span<const std::uint8_t> payload, std::size_t maxEntries) {
    PayloadWalk walk;
    while (walk.entries.size() < maxEntries) {
        const auto e = NextPayloadEntry(payload, walk.end, walk.damaged);
        if (!e) {
            walk.endMarker = !walk.damaged;
            if (walk.endMarker) walk.end += PayloadLengthSize;
            break;
        }
        walk.entries.push_back(*e);
        walk.end = PayloadEntryEnd(*e);
    }
    return walk;
}

std::vector<std::uint8_t> RestoreSzdd(std::span<const std::uint8_t> payload, PayloadEntry e) {
    const auto body = payload.subspan(e.body, e.length);
    std::vector<std::uint8_t> file(SzddDroppedPrefix + body.size());
    std::copy_n(SzddSignature.begin(), SzddDroppedPrefix, file.begin());
    std::copy(body.begin(), body.end(), file.begin() + SzddDroppedPrefix);
    return file;
}

std::vector<std::uint8_t> BuildPayload(std::span<const std::vector<std::uint8_t>> szddFiles) {
    std::vector<std::uint8_t> out;
    for (const auto& file : szddFiles) {
        if (file.size() < SzddHeaderSize || !std::equal(SzddSignature.begin(), SzddSignature.end(), file.begin())) {
            throw std::invalid_argument("not an SZDD file");
        }
        const std::size_t length = file.size() - SzddDroppedPrefix;
        if (length > 0xFFFFFFFFu) throw std::invalid_argument("SZDD file too long for the payload");
        AppendLength(out, static_cast<std::uint32_t>(length));
        out.insert(out.end(), file.begin() + SzddDroppedPrefix, file.end());
    }
    AppendLength(out, 0);
    return out;
}
