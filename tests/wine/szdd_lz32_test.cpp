// Our SZDD files against the platform's own expander, LZ32, in the 32-bit
// build the installer ships: every file our compressor writes must come back
// byte for byte from one LZRead, and from our own expander.
#include <gtest/gtest.h>
#include <windows.h>
#include <lzexpand.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "payload/szdd.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// One LZRead for the whole file, asking for a byte more than it holds.
Bytes ExpandWithLz32(const std::string& path, std::size_t size) {
    OFSTRUCT ofs{};
    std::string name = path;
    const INT handle = LZOpenFileA(name.data(), &ofs, OF_READ);
    if (handle < 0) return {};
    Bytes out(size + 1, 0xAA);
    const INT count = LZRead(handle, reinterpret_cast<LPSTR>(out.data()), static_cast<INT>(out.size()));
    LZClose(handle);
    out.resize(count < 0 ? 0 : static_cast<std::size_t>(count));
    return out;
}

struct Sample {
    std::string name;
    Bytes data;
};

std::vector<Sample> Corpus() {
    std::mt19937 rng(1033);
    Bytes random(200'000);
    for (auto& b : random) b = static_cast<std::uint8_t>(rng());
    Bytes text;
    for (int i = 0; i < 30'000; ++i) {
        const std::string line =
            "line " + std::to_string(i % 977) + (i % 7 ? " of text\r\n" : "                  \r\n");
        text.insert(text.end(), line.begin(), line.end());
    }
    std::vector<Sample> samples{
        {"empty", {}},
        {"one byte", {0x41}},
        {"18 equal bytes", Bytes(18, 'q')},
        {"4096 spaces", Bytes(4096, ' ')},
        {"zeros", Bytes(700'000, 0)},
        {"random", random},
        {"text", text},
    };
    const std::string wine = "Z:/usr/lib/i386-linux-gnu/wine/i386-windows/";
    for (const std::string file : {wine + "lz32.dll", wine + "cabinet.dll", wine + "kernel32.dll",
                                   std::string("Z:/usr/share/common-licenses/GPL-3")}) {
        Bytes data = ReadHostFile(file);
        if (!data.empty()) samples.push_back({file, std::move(data)});
    }
    return samples;
}

TEST(SzddLz32, PlatformExpanderReadsOurFilesExactly) {
    // LZOpenFileA goes through OpenFile and its 128-character limit.
    ASSERT_TRUE(CreateDirectoryA("C:\\t", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const auto samples = Corpus();
    ASSERT_GE(samples.size(), 10u) << "Wine's DLLs are part of the corpus";
    int index = 0;
    for (const auto& [name, data] : samples) {
        const Bytes packed = CompressSzdd(data);
        const std::string path = "C:\\t\\" + std::to_string(index++) + ".sz_";
        WriteFileBytes(path, packed);
        EXPECT_EQ(ExpandWithLz32(path, data.size()), data) << name;

        Bytes ours(data.size(), 0xAA);
        ASSERT_EQ(ExpandSzdd(packed, ours), static_cast<std::int32_t>(data.size())) << name;
        EXPECT_EQ(ours, data) << name;
        DeleteFileA(path.c_str());
    }
}

}  // namespace
