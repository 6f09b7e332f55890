// The SZDD codec: hand-made streams for the window's corners, random valid
// streams against a plain ring-buffer decoder, round trips over real and
// edge files, every damaged form, and Debian's mscompress/msexpand as peers.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <mspack.h>

#include "payload/szdd.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes Header(std::uint32_t length) {
    Bytes h(SzddSignature.begin(), SzddSignature.end());
    h.push_back(SzddModeA);
    h.push_back(0);
    for (int shift = 0; shift < 32; shift += 8) h.push_back(static_cast<std::uint8_t>(length >> shift));
    return h;
}

Bytes SzddFile(std::uint32_t length, const Bytes& stream) {
    Bytes f = Header(length);
    f.insert(f.end(), stream.begin(), stream.end());
    return f;
}

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& p, const Bytes& b) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// Expands into a buffer exactly as large as the header asks for.
std::int32_t Expand(const Bytes& file, Bytes& out) {
    out.assign(SzddExpandedLength(file).value_or(0), 0xAA);
    const std::int32_t n = ExpandSzdd(file, out);
    if (n >= 0) out.resize(static_cast<std::size_t>(n));
    return n;
}

// The format exactly as documented: a 4096-byte ring of spaces, the write
// position at 4080, matches by absolute ring position. Decodes until the
// stream ends.
Bytes RingExpand(std::span<const std::uint8_t> stream) {
    std::vector<std::uint8_t> ring(4096, 0x20);
    std::size_t w = 4080;
    Bytes out;
    const auto put = [&](std::uint8_t b) {
        out.push_back(b);
        ring[w] = b;
        w = (w + 1) % 4096;
    };
    std::size_t i = 0;
    while (i < stream.size()) {
        const unsigned flags = stream[i++];
        for (int bit = 0; bit < 8 && i < stream.size(); ++bit) {
            if (flags >> bit & 1) {
                put(stream[i++]);
            } else if (i + 1 < stream.size()) {
                const std::size_t pos = stream[i] | (stream[i + 1] & 0xF0) << 4;
                const std::size_t len = (stream[i + 1] & 0x0F) + 3u;
                i += 2;
                for (std::size_t k = 0; k < len; ++k) put(ring[(pos + k) % 4096]);
            } else {
                i = stream.size();
            }
        }
    }
    return out;
}

TEST(Szdd, FirstGroupMatchesReadTheInitialSpaces) {
    // 'A', then 5 bytes from ring position 4078: two initial spaces, the 'A'
    // at 4080, then the two spaces this match has just written.
    const Bytes file = SzddFile(6, {0x01, 'A', 0xEE, 0xF2});
    Bytes out;
    ASSERT_EQ(Expand(file, out), 6);
    EXPECT_EQ(out, Text("A  A  "));

    // A whole match from positions never written.
    ASSERT_EQ(Expand(SzddFile(18, {0x00, 0x00, 0x0F}), out), 18);
    EXPECT_EQ(out, Bytes(18, ' '));
}

TEST(Szdd, OverlappingMatchRepeatsTheByteJustWritten) {
    // 'x' lands at 4080; a match of 18 from there copies it 18 times.
    Bytes out;
    ASSERT_EQ(Expand(SzddFile(19, {0x01, 'x', 0xF0, 0xFF}), out), 19);
    EXPECT_EQ(out, Bytes(19, 'x'));
}

TEST(Szdd, RandomValidStreamsMatchThePlainRingDecoder) {
    std::mt19937 rng(20030112);
    for (int round = 0; round < 300; ++round) {
        Bytes stream;
        const int groups = round < 290 ? 1 + static_cast<int>(rng() % 40) : 3000;
        std::size_t produced = 0;
        for (int g = 0; g < groups; ++g) {
            const std::uint8_t flags = static_cast<std::uint8_t>(round % 3 == 0 ? 0xFF : rng());
            stream.push_back(flags);
            for (int bit = 0; bit < 8; ++bit) {
                if (flags >> bit & 1) {
                    stream.push_back(static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() : 'a' + rng() % 3));
                    ++produced;
                    continue;
                }
                // Mostly near the write position, so that copies overlap what they
                // write; sometimes anywhere, including the spaces and the wrap.
                const std::size_t back = rng() % 2 ? 1 + rng() % 20 : rng() % 4096;
                const std::size_t pos = (4080 + produced + 4096 - back) % 4096;
                const std::size_t len = 3 + rng() % 16;
                stream.push_back(static_cast<std::uint8_t>(pos));
                stream.push_back(static_cast<std::uint8_t>((pos >> 4 & 0xF0) | (len - 3)));
                produced += len;
            }
        }
        const Bytes expected = RingExpand(stream);
        // A larger buffer than needed: nothing past the expanded length is
        // touched, although the fast path copies in fixed-size chunks.
        Bytes out(expected.size() + 64, 0xAA);
        ASSERT_EQ(ExpandSzdd(SzddFile(static_cast<std::uint32_t>(expected.size()), stream), out),
                  static_cast<std::int32_t>(expected.size()))
            << "round " << round;
        ASSERT_EQ(Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected)
            << "round " << round;
        ASSERT_EQ(Bytes(out.end() - 64, out.end()), Bytes(64, 0xAA)) << "round " << round;
    }
}

struct Sample {
    std::string name;
    Bytes data;
};

std::vector<Sample> EdgeSamples() {
    std::mt19937 rng(7);
    Bytes random(300'000);
    for (auto& b : random) b = static_cast<std::uint8_t>(rng());
    Bytes mixed;
    for (int i = 0; i < 20'000; ++i) {
        const std::string record =
            "record " + std::to_string(i * 7919 % 1000) + ";value=" + std::to_string(rng() % 50) + "\r\n";
        mixed.insert(mixed.end(), record.begin(), record.end());
        if (i % 500 == 0) mixed.insert(mixed.end(), 5000, 0);
    }
    return {
        {"empty", {}},
        {"one byte", {0x42}},
        {"18 equal bytes", Bytes(18, 'q')},
        {"4096 spaces", Bytes(4096, ' ')},
        {"zeros 1 MB", Bytes(1 << 20, 0)},
        {"random", random},
        {"random just past one window", Bytes(random.begin(), random.begin() + 4097)},
        {"records with zero runs", mixed},
    };
}

std::vector<Sample> RealSamples() {
    std::vector<Sample> samples;
    for (const char* path : {"/usr/lib/i386-linux-gnu/wine/i386-windows/lz32.dll",
                             "/usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll",
                             "/usr/lib/i386-linux-gnu/wine/i386-windows/cabinet.dll",
                             "/usr/share/common-licenses/GPL-3", KVX_SOURCE_DIR "/payload/szdd_expand.cpp"}) {
        if (fs::exists(path)) samples.push_back({path, ReadFile(path)});
    }
    return samples;
}

TEST(Szdd, RoundTripsAreExactDeterministicAndNeverMuchLarger) {
    auto samples = EdgeSamples();
    const auto real = RealSamples();
    ASSERT_GE(real.size(), 3u) << "the Wine DLLs of this machine are part of the corpus";
    samples.insert(samples.end(), real.begin(), real.end());
    for (const auto& [name, data] : samples) {
        const Bytes packed = CompressSzdd(data);
        Bytes out;
        ASSERT_EQ(Expand(packed, out), static_cast<std::int32_t>(data.size())) << name;
        ASSERT_EQ(out, data) << name;
        EXPECT_EQ(CompressSzdd(data), packed) << name;
        EXPECT_LE(packed.size(), SzddHeaderSize + data.size() + (data.size() + 7) / 8) << name;
    }
}

TEST(Szdd, CompressorUsesTheWholeFormat) {
    // Sizes only an optimal parse with 18-byte matches and the initial spaces
    // reaches: each case is one literal group or a few matches.
    const struct {
        const char* name;
        Bytes data;
        std::size_t streamSize;
    } cases[] = {
        {"18 spaces: one match from the initial window", Bytes(18, ' '), 1 + 2},
        {"19 equal bytes: a literal and an 18-byte match", Bytes(19, 'x'), 1 + 1 + 2},
        {"4096 spaces: 228 matches", Bytes(4096, ' '), 29 + 228 * 2},
        {"abcabc...: three literals, then 18-byte matches",
         [] {
             Bytes b;
             for (int i = 0; i < 39; ++i) b.push_back(static_cast<std::uint8_t>('a' + i % 3));
             return b;
         }(),
         1 + 3 + 2 * 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompressSzdd(c.data).size(), SzddHeaderSize + c.streamSize) << c.name;
    }
}

TEST(Szdd, DamagedFilesAreReadErrors) {
    const Bytes good = CompressSzdd(ReadFile(KVX_SOURCE_DIR "/payload/szdd.h"));
    const std::uint32_t length = *SzddExpandedLength(good);
    const auto with = [&](auto change) {
        Bytes f = good;
        change(f);
        return f;
    };
    const auto withLength = [&](std::uint32_t n) {
        return with([&](Bytes& f) { std::copy_n(Header(n).begin() + 10, 4, f.begin() + 10); });
    };
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"nothing", {}},
        {"13 header bytes", Bytes(good.begin(), good.begin() + 13)},
        {"'S' changed", with([](Bytes& f) { f[0] = 's'; })},
        {"last signature byte changed", with([](Bytes& f) { f[7] ^= 1; })},
        {"mode B", with([](Bytes& f) { f[8] = 'B'; })},
        {"header only", Bytes(good.begin(), good.begin() + 14)},
        {"cut after the first flag byte", Bytes(good.begin(), good.begin() + 15)},
        {"cut in half", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2))},
        {"last byte missing", Bytes(good.begin(), good.end() - 1)},
        {"a byte left over", with([](Bytes& f) { f.push_back(0); })},
        {"expanded length one too large", withLength(length + 1)},
        {"expanded length one too small", withLength(length - 1)},
        {"match runs past the expanded length", SzddFile(4, {0x01, 'a', 0xF0, 0xF2})},
        {"literal after the expanded length", SzddFile(1, {0x03, 'a', 'b'})},
        {"empty file with a stray group", SzddFile(0, {0x01, 0x00})},
        {"a byte after a partial last group", SzddFile(3, {0x07, 'a', 'b', 'c', 0x00})},
        {"two bytes after a full last group",
         SzddFile(8, {0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0x00, 0x00})},
    };
    for (const auto& c : cases) {
        Bytes out(length + 64, 0);
        EXPECT_EQ(ExpandSzdd(c.file, out), LzErrorRead) << c.name;
    }
}

// An encoder that writes each group's flag byte before its items may end a
// stream that fills its last group with one flag byte and no items.
TEST(Szdd, OneEmptyGroupAfterAFullLastGroupIsAccepted) {
    Bytes out(16, 0);
    EXPECT_EQ(ExpandSzdd(SzddFile(8, {0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0x00}), out), 8);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 8), "abcdefgh");
    EXPECT_EQ(ExpandSzdd(SzddFile(0, {0x00}), out), 0);
    // The same at the end of a stream long enough for the bulk decoder.
    Bytes data(8 * 300);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + i / 13);
    Bytes stream;
    for (std::size_t i = 0; i < data.size(); i += 8) {
        stream.push_back(0xFF);
        stream.insert(stream.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                      data.begin() + static_cast<std::ptrdiff_t>(i + 8));
    }
    stream.push_back(0x00);
    Bytes big(data.size() + 64, 0);
    ASSERT_EQ(ExpandSzdd(SzddFile(static_cast<std::uint32_t>(data.size()), stream), big),
              static_cast<std::int32_t>(data.size()));
    EXPECT_TRUE(std::equal(data.begin(), data.end(), big.begin()));
}

TEST(Szdd, LengthLargerThanTheBufferIsABadValueAndWritesNothing) {
    const Bytes file = CompressSzdd(Bytes(1000, 'z'));
    Bytes out(999, 0xAA);
    EXPECT_EQ(ExpandSzdd(file, out), LzErrorBadValue);
    EXPECT_EQ(out, Bytes(999, 0xAA));
    EXPECT_EQ(ExpandSzdd(SzddFile(0x80000000u, {}), out), LzErrorBadValue);
}

// Debian's mscompress and msexpand as independent peers. mscompress
// mis-encodes files shorter than 16 bytes, so those are left out.
class SzddPeers : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v mscompress >/dev/null && command -v msexpand >/dev/null") != 0) {
            GTEST_SKIP() << "mscompress is not installed";
        }
        dir_ = fs::temp_directory_path() / ("kvx-szdd-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The peers work a byte at a time, so the largest files stay out.
    std::vector<Sample> Corpus() const {
        std::vector<Sample> all;
        for (auto& s : RealSamples()) {
            if (s.data.size() <= 1'000'000) all.push_back(std::move(s));
        }
        for (auto& s : EdgeSamples()) {
            if (s.data.size() >= 16) all.push_back(std::move(s));
        }
        return all;
    }

    fs::path dir_;
};

TEST_F(SzddPeers, OursExpandsWhatMscompressWrites) {
    int i = 0;
    for (const auto& [name, data] : Corpus()) {
        const fs::path plain = dir_ / ("in" + std::to_string(i++));
        WriteFile(plain, data);
        ASSERT_EQ(std::system(("cd '" + dir_.string() + "' && mscompress '" + plain.filename().string() + "'").c_str()),
                  0);
        Bytes out;
        ASSERT_EQ(Expand(ReadFile(plain.string() + "_"), out), static_cast<std::int32_t>(data.size())) << name;
        EXPECT_EQ(out, data) << name;
    }
}

TEST_F(SzddPeers, MsexpandExpandsWhatOursWrites) {
    int i = 0;
    for (const auto& [name, data] : Corpus()) {
        const fs::path packed = dir_ / ("ours" + std::to_string(i++));
        WriteFile(packed, CompressSzdd(data));
        const fs::path out = packed.string() + ".out";
        ASSERT_EQ(std::system(("msexpand < '" + packed.string() + "' > '" + out.string() + "'").c_str()), 0);
        EXPECT_EQ(ReadFile(out), data) << name;
    }
}

// libmspack's SZDD decompressor, a third expander written independently of
// the platform's and of msexpand. Unlike the others it is also given the
// files shorter than 16 bytes.
TEST_F(SzddPeers, LibmspackExpandsWhatOursWrites) {
    msszdd_decompressor* szdd = mspack_create_szdd_decompressor(nullptr);
    ASSERT_NE(szdd, nullptr);
    auto corpus = Corpus();
    for (auto& s : EdgeSamples())
        if (s.data.size() < 16) corpus.push_back(std::move(s));
    int i = 0;
    for (const auto& [name, data] : corpus) {
        const fs::path packed = dir_ / ("mspack" + std::to_string(i++));
        WriteFile(packed, CompressSzdd(data));
        const std::string out = packed.string() + ".out";
        EXPECT_EQ(szdd->decompress(szdd, const_cast<char*>(packed.c_str()), const_cast<char*>(out.c_str())),
                  MSPACK_ERR_OK)
            << name;
        EXPECT_EQ(ReadFile(out), data) << name;
    }
    mspack_destroy_szdd_decompressor(szdd);
}

}  // namespace
