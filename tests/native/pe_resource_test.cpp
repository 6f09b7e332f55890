// The PE resource reader on built images, damaged and hostile ones, and a
// real DLL from this machine's Wine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "payload/pe_resource.h"
#include "tests/native/test_pe_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test_pe::Put16;
using test_pe::Put32;

const Bytes Payload{1, 2, 3, 4, 5, 6, 7};

Bytes Image() {
    return test_pe::BuildImage({{3, 1, 1033, Bytes(40, 0x33)},
                                {RtRcdata, 135, 1033, Bytes{9}},
                                {RtRcdata, PayloadResourceId, 1031, Bytes{8, 8}},
                                {RtRcdata, PayloadResourceId, PayloadLanguage, Payload}});
}

std::optional<Bytes> FindPayload(const Bytes& image) {
    const auto found = FindPeResource(image, RtRcdata, PayloadResourceId, PayloadLanguage);
    if (!found) return std::nullopt;
    return Bytes(found->begin(), found->end());
}

TEST(PeResource, FindsTheResourceInThePreferredLanguage) {
    const Bytes image = Image();
    EXPECT_TRUE(IsPeImage(image));
    EXPECT_EQ(FindPayload(image), Payload);
    const auto german = FindPeResource(image, RtRcdata, PayloadResourceId, 1031);
    ASSERT_TRUE(german);
    EXPECT_EQ(Bytes(german->begin(), german->end()), (Bytes{8, 8}));
}

TEST(PeResource, FallsBackToTheFirstLanguage) {
    const Bytes image = test_pe::BuildImage({{RtRcdata, PayloadResourceId, 1031, Payload}});
    EXPECT_EQ(FindPayload(image), Payload);
}

TEST(PeResource, MissingResourceIsNothing) {
    EXPECT_FALSE(FindPayload(test_pe::BuildImage({{RtRcdata, 135, 1033, Payload}, {11, 136, 1033, Payload}})));
    EXPECT_FALSE(FindPayload(test_pe::BuildImage({})));
    EXPECT_FALSE(FindPayload(Payload));
    EXPECT_FALSE(IsPeImage(Payload));
}

TEST(PeResource, EveryTruncationIsNothing) {
    // The resource data is the image's last bytes, so every cut loses it or
    // something on the way to it.
    const Bytes image = Image();
    for (std::size_t size = 0; size < image.size(); ++size) {
        const Bytes cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(FindPayload(cut)) << "cut at " << size;
    }
}

TEST(PeResource, HostileFieldsAreNothing) {
    const std::size_t tree = test_pe::RawData;
    const std::size_t sec = test_pe::SectionTable;
    const struct {
        const char* name;
        std::size_t at;
        std::uint32_t value;
        int width;
    } cases[] = {
        {"PE header far beyond the file", 0x3C, 0xFFFFFFF0u, 32},
        {"no PE signature", test_pe::PeOffset, 0x00004551, 32},
        {"unknown optional header", test_pe::Optional, 0x107, 16},
        {"65535 sections", test_pe::FileHeader + 2, 0xFFFF, 16},
        {"optional header too short for the directories", test_pe::FileHeader + 16, 96, 16},
        {"two data directories", test_pe::Optional + 92, 2, 32},
        {"resource directory size 4 GB", test_pe::ResourceDirectory + 4, 0xFFFFFFFFu, 32},
        {"resource directory outside every section", test_pe::ResourceDirectory, 0x9000, 32},
        {"section data far beyond the file", sec + 20, 0xFFFFFF00u, 32},
        {"section data just past the file", sec + 20, 0x10000, 32},
        {"section data shorter than the resource tree", sec + 16, 0x10, 32},
        {"65535 named entries before the ids", tree + 12, 0xFFFF, 16},
        {"type directory far beyond the tree", tree + 16 + 8 + 4, 0xFFFFFFF0u, 32},
        {"type entry points at the root", tree + 16 + 8 + 4, 0x80000000u, 32},
        {"type entry is a leaf", tree + 16 + 8 + 4, 0x40, 32},
    };
    const Bytes good = Image();
    ASSERT_EQ(good[tree + 16 + 8], RtRcdata) << "the second type entry is RT_RCDATA";
    for (const auto& c : cases) {
        Bytes image = good;
        if (c.width == 16) {
            Put16(image, c.at, c.value);
        } else {
            Put32(image, c.at, c.value);
        }
        EXPECT_FALSE(FindPayload(image)) << c.name;
    }
}

TEST(PeResource, DataEntryOutsideTheImageIsNothing) {
    // The payload's data entry is the last one; its RVA and size come first.
    Bytes image = Image();
    const auto found = FindPeResource(image, RtRcdata, PayloadResourceId, PayloadLanguage);
    ASSERT_TRUE(found);
    std::size_t entry = 0;
    for (std::size_t at = test_pe::RawData; at + 8 <= image.size(); at += 4) {
        if (image[at + 4] == Payload.size() && image[at + 5] == 0 && image[at + 6] == 0 && image[at + 7] == 0)
            entry = at;
    }
    ASSERT_NE(entry, 0u);
    for (const auto& [rva, size] :
         {std::pair<std::uint32_t, std::uint32_t>{0x7FFFFFFF, 7}, {0x1000, 0xFFFFFFFF}, {0xFFFFFFFF, 2}, {0x0FFF, 7}}) {
        Bytes bad = image;
        Put32(bad, entry, rva);
        Put32(bad, entry + 4, size);
        EXPECT_FALSE(FindPayload(bad)) << std::hex << rva << " " << size;
    }
}

TEST(PeResource, ReadsTheVersionResourceOfARealDll) {
    const std::filesystem::path dll = "/usr/lib/i386-linux-gnu/wine/i386-windows/lz32.dll";
    if (!std::filesystem::exists(dll)) GTEST_SKIP() << "Wine's 32-bit DLLs are not installed";
    std::ifstream in(dll, std::ios::binary);
    const Bytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto version = FindPeResource(image, 16, 1, 1033);
    ASSERT_TRUE(version);
    ASSERT_GT(version->size(), 40u);
    // VS_VERSIONINFO: its length, then after two more words its UTF-16 key.
    EXPECT_EQ((*version)[0] | (*version)[1] << 8, static_cast<int>(version->size()));
    std::string key;
    for (std::size_t i = 6; i < 36; i += 2) key += static_cast<char>((*version)[i]);
    EXPECT_EQ(key, "VS_VERSION_INFO");
}

}  // namespace
