// The PE headers and the three-level resource tree (type, name, language)
// are read field by field through one bounds-checked reader; the tree is
// walked exactly three levels deep, so a directory that points at itself
// cannot loop.

#include <vector>

#include "payload/pe_resource.h"

namespace {

// Offsets computed from fields of the image, wide enough that no sum of
// them wraps on a 32-bit host.
using Offset = std::uint64_t;

// Little-endian fields of a byte range; a read out of range gives nothing.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}

    [[nodiscard]] std::optional<std::uint32_t> U32(Offset at) const {
        if (!Has(at, 4)) return std::nullopt;
        const std::uint8_t* p = data_.data() + static_cast<std::size_t>(at);
        return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<std::uint32_t>(p[3]) << 24;
    }
    [[nodiscard]] std::optional<std::uint16_t> U16(Offset at) const {
        if (!Has(at, 2)) return std::nullopt;
        const std::uint8_t* p = data_.data() + static_cast<std::size_t>(at);
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }
    [[nodiscard]] bool Has(Offset at, Offset size) const { return at <= data_.size() && data_.size() - at >= size; }
    [[nodiscard]] std::span<const std::uint8_t> Span(Offset at, Offset size) const {
        return data_.subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(size));
    }

private:
    std::span<const std::uint8_t> data_;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

struct PeLayout {
    std::vector<Section> sections;
    std::uint32_t resourceRva = 0;
    std::uint32_t resourceSize = 0;
};

constexpr std::uint32_t PeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint16_t DosSignature = 0x5A4D;     // "MZ"
constexpr std::uint16_t Pe32Magic = 0x10B;
constexpr std::uint16_t Pe32PlusMagic = 0x20B;
constexpr std::size_t FileHeaderSize = 20;
constexpr std::size_t SectionHeaderSize = 40;
constexpr std::uint32_t ResourceDirectoryIndex = 2;

std::optional<PeLayout> ReadLayout(const Bytes& image) {
    if (image.U16(0) != DosSignature) return std::nullopt;
    const auto peAt = image.U32(0x3C);
    if (!peAt || image.U32(*peAt) != PeSignature) return std::nullopt;
    const Offset fileHeader = Offset{*peAt} + 4;
    const auto sectionCount = image.U16(fileHeader + 2);
    const auto optionalSize = image.U16(fileHeader + 16);
    if (!sectionCount || !optionalSize) return std::nullopt;
    const Offset optional = fileHeader + FileHeaderSize;
    const auto magic = image.U16(optional);
    if (magic != Pe32Magic && magic != Pe32PlusMagic) return std::nullopt;
    const Offset directories = optional + (magic == Pe32Magic ? 96 : 112);
    const auto directoryCount = image.U32(directories - 4);
    if (!directoryCount || *directoryCount <= ResourceDirectoryIndex) return std::nullopt;
    if (directories + 8 * (ResourceDirectoryIndex + 1) > optional + *optionalSize) return std::nullopt;
    PeLayout layout;
    const auto rva = image.U32(directories + 8 * ResourceDirectoryIndex);
    const auto size = image.U32(directories + 8 * ResourceDirectoryIndex + 4);
    if (!rva || !size || *rva == 0 || *size == 0) return std::nullopt;
    layout.resourceRva = *rva;
    layout.resourceSize = *size;
    const Offset table = optional + *optionalSize;
    if (!image.Has(table, SectionHeaderSize * Offset{*sectionCount})) return std::nullopt;
    for (Offset i = 0; i < *sectionCount; ++i) {
        const Offset at = table + i * SectionHeaderSize;
        layout.sections.push_back({*image.U32(at + 12), *image.U32(at + 16), *image.U32(at + 20)});
    }
    return layout;
}

// The file bytes of [rva, rva + size), which must lie in one section's data.
std::optional<std::span<const std::uint8_t>> MapRange(const Bytes& image, const PeLayout& layout, std::uint32_t rva,
                                                      std::uint32_t size) {
    for (const Section& s : layout.sections) {
        if (rva < s.virtualAddress) continue;
        const Offset into = rva - s.virtualAddress;
        if (into + size > s.rawSize) continue;
        const Offset at = Offset{s.rawOffset} + into;
        if (!image.Has(at, size)) return std::nullopt;
        return image.Span(at, size);
    }
    return std::nullopt;
}

struct DirectoryEntry {
    std::uint32_t name;
    std::uint32_t target;
};

constexpr std::uint32_t HighBit = 0x80000000u;

// Entries of the directory at `at` in the resource tree whose integer id is
// wanted, or, with wanted empty, the first id entry.
std::optional<DirectoryEntry> FindEntry(const Bytes& tree, std::uint32_t at, std::optional<std::uint16_t> wanted) {
    const auto named = tree.U16(Offset{at} + 12);
    const auto ids = tree.U16(Offset{at} + 14);
    if (!named || !ids) return std::nullopt;
    for (Offset i = 0; i < *ids; ++i) {
        const Offset entry = Offset{at} + 16 + (Offset{*named} + i) * 8;
        const auto name = tree.U32(entry);
        const auto target = tree.U32(entry + 4);
        if (!name || !target) return std::nullopt;
        if ((*name & HighBit) == 0 && (!wanted || *name == *wanted)) return DirectoryEntry{*name, *target};
    }
    return std::nullopt;
}

std::optional<std::uint32_t> Subdirectory(const Bytes& tree, std::uint32_t at, std::uint16_t id) {
    const auto e = FindEntry(tree, at, id);
    if (!e || (e->target & HighBit) == 0) return std::nullopt;
    return e->target & ~HighBit;
}

}  // namespace

bool IsPeImage(std::span<const std::uint8_t> image) {
    const Bytes file(image);
    const auto peAt = file.U32(0x3C);
    return file.U16(0) == DosSignature && peAt && file.U32(*peAt) == PeSignature;
}

std::optional<std::span<const std::uint8_t>> FindPeResource(std::span<const std::uint8_t> image, std::uint16_t type,
                                                            std::uint16_t id, std::uint16_t language) {
    const Bytes file(image);
    const auto layout = ReadLayout(file);
    if (!layout) return std::nullopt;
    const auto block = MapRange(file, *layout, layout->resourceRva, layout->resourceSize);
    if (!block) return std::nullopt;
    const Bytes tree(*block);
    const auto names = Subdirectory(tree, 0, type);
    if (!names) return std::nullopt;
    const auto languages = Subdirectory(tree, *names, id);
    if (!languages) return std::nullopt;
    auto leaf = FindEntry(tree, *languages, language);
    if (!leaf) leaf = FindEntry(tree, *languages, std::nullopt);
    if (!leaf || (leaf->target & HighBit) != 0) return std::nullopt;
    const auto dataRva = tree.U32(leaf->target);
    const auto dataSize = tree.U32(Offset{leaf->target} + 4);
    if (!dataRva || !dataSize) return std::nullopt;
    return MapRange(file, *layout, *dataRva, *dataSize);
}
