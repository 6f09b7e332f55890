#pragma once
// A minimal PE image with one .rsrc section holding the given resources, for
// the tests of the PE reader and of kvxpack on a setup.exe. The offsets of
// its header fields are exposed so tests can damage them.

#include <cstdint>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

struct TestResource {
    std::uint16_t type;
    std::uint16_t id;
    std::uint16_t language;
    std::vector<std::uint8_t> data;
};

namespace test_pe {

inline constexpr std::size_t PeOffset = 0x40;
inline constexpr std::size_t FileHeader = PeOffset + 4;
inline constexpr std::size_t Optional = FileHeader + 20;
inline constexpr std::size_t Pe32OptionalSize = 224;
inline constexpr std::size_t SectionTable = Optional + Pe32OptionalSize;
inline constexpr std::size_t ResourceDirectory = Optional + 96 + 2 * 8;
inline constexpr std::size_t RawData = 0x200;  // the resource tree starts here
inline constexpr std::uint32_t SectionRva = 0x1000;

inline void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// The resource tree: directories first, then data entries, then the data.
inline std::vector<std::uint8_t> BuildTree(const std::vector<TestResource>& resources) {
    std::map<std::uint16_t, std::map<std::uint16_t, std::vector<std::size_t>>> tree;
    for (std::size_t i = 0; i < resources.size(); ++i) tree[resources[i].type][resources[i].id].push_back(i);
    std::size_t size = 16 + 8 * tree.size();
    for (const auto& [type, ids] : tree) {
        size += 16 + 8 * ids.size();
        for (const auto& [id, langs] : ids) size += 16 + 8 * langs.size();
    }
    std::size_t dataEntries = size;
    std::size_t data = dataEntries + 16 * resources.size();
    std::vector<std::uint8_t> out(data);
    std::size_t next = 16 + 8 * tree.size();
    const auto directory = [&](std::size_t at, std::size_t count) {
        Put16(out, at + 14, static_cast<std::uint32_t>(count));
    };
    directory(0, tree.size());
    std::size_t typeSlot = 16;
    for (const auto& [type, ids] : tree) {
        const std::size_t typeDir = next;
        Put32(out, typeSlot, type);
        Put32(out, typeSlot + 4, 0x80000000u | static_cast<std::uint32_t>(typeDir));
        typeSlot += 8;
        directory(typeDir, ids.size());
        next += 16 + 8 * ids.size();
        std::size_t idSlot = typeDir + 16;
        for (const auto& [id, langs] : ids) {
            const std::size_t langDir = next;
            Put32(out, idSlot, id);
            Put32(out, idSlot + 4, 0x80000000u | static_cast<std::uint32_t>(langDir));
            idSlot += 8;
            directory(langDir, langs.size());
            next += 16 + 8 * langs.size();
            std::size_t langSlot = langDir + 16;
            for (std::size_t index : langs) {
                const TestResource& r = resources[index];
                Put32(out, langSlot, r.language);
                Put32(out, langSlot + 4, static_cast<std::uint32_t>(dataEntries));
                langSlot += 8;
                Put32(out, dataEntries, SectionRva + static_cast<std::uint32_t>(data));
                Put32(out, dataEntries + 4, static_cast<std::uint32_t>(r.data.size()));
                dataEntries += 16;
                out.insert(out.end(), r.data.begin(), r.data.end());
                while (out.size() % 4) out.push_back(0);
                data = out.size();
            }
        }
    }
    return out;
}

inline std::vector<std::uint8_t> BuildImage(const std::vector<TestResource>& resources) {
    const std::vector<std::uint8_t> tree = BuildTree(resources);
    std::vector<std::uint8_t> image(RawData, 0);
    image[0] = 'M';
    image[1] = 'Z';
    Put32(image, 0x3C, PeOffset);
    Put32(image, PeOffset, 0x00004550);
    Put16(image, FileHeader, 0x14C);
    Put16(image, FileHeader + 2, 1);
    Put16(image, FileHeader + 16, Pe32OptionalSize);
    Put16(image, Optional, 0x10B);
    Put32(image, Optional + 92, 16);
    Put32(image, ResourceDirectory, SectionRva);
    Put32(image, ResourceDirectory + 4, static_cast<std::uint32_t>(tree.size()));
    const char name[8] = {'.', 'r', 's', 'r', 'c'};
    std::copy(name, name + 8, image.begin() + SectionTable);
    Put32(image, SectionTable + 8, static_cast<std::uint32_t>(tree.size()));
    Put32(image, SectionTable + 12, SectionRva);
    Put32(image, SectionTable + 16, static_cast<std::uint32_t>(tree.size()));
    Put32(image, SectionTable + 20, RawData);
    image.resize(RawData + tree.size());
    std::copy(tree.begin(), tree.end(), image.begin() + RawData);
    return image;
}

}  // namespace test_pe
