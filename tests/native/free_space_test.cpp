// The free-space text through its seam: the root path the drive is asked
// about and the four counts it answers with.
#include "browse/free_space_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Answers every query with fixed counts, or refuses it, and records the roots asked.
struct FakeDrive {
    FakeDrive(bool answers, DiskCounts counts) : answers(answers), counts(counts) {}

    bool answers;
    DiskCounts counts;
    std::vector<std::string> roots;

    std::string Text(const std::string& folder) {
        return FreeSpaceTextFrom(folder, [this](const std::string& root, DiskCounts& out) {
            roots.push_back(root);
            // Garbage first: a refused query must not depend on what it left behind.
            out = {7, 7, 7, 7};
            if (answers) out = counts;
            return answers;
        });
    }
};

DiskCounts FourKilobyteClusters(std::uint32_t freeClusters) { return {8, 512, freeClusters, 1u << 20}; }

}  // namespace

TEST(FreeSpaceText, FormatsKilobytesBelowTheSwitchAndWholeMegabytesFromIt) {
    struct Case {
        DiskCounts counts;
        std::string text;
    };
    const Case cases[] = {
        {FourKilobyteClusters(2000), "8000KB free"},
        {FourKilobyteClusters(2048), "8MB free"},  // 8,192 KB: the switch point
        {FourKilobyteClusters(2047), "8188KB free"},
        {{2, 512, 1048575, 0}, "1023MB free"},  // 1,048,575 KB rounds down
        {{1, 512, 2847, 2847}, "1423KB free"},  // a diskette with 512-byte clusters
        {{1, 512, 0, 2847}, "0KB free"},
        // FFFF0000 KB and one less, reached only in 64-bit arithmetic.
        {{1, 1024, 0xFFFF0000u, 0}, ""},
        {{1, 1024, 0xFFFEFFFFu, 0}, "4194239MB free"},
        {{64, 4096, 0xFFFFFFFFu, 0}, ""},
        {{8, 512, 0x00FFFFFFu, 0}, "65535MB free"},  // 64 GB: overflows a 32-bit byte count
    };
    for (const Case& c : cases) {
        FakeDrive drive{true, c.counts};
        EXPECT_EQ(drive.Text("C:\\"), c.text)
            << c.counts.sectorsPerCluster << " x " << c.counts.bytesPerSector << " x " << c.counts.freeClusters;
    }
}

TEST(FreeSpaceText, AsksAboutTheFirstThreeCharactersWithABackslash) {
    struct Case {
        std::string folder;
        std::string root;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Corvane Software", "C:\\"},
        {"C:\\Program Files\\Corvane Software\\", "C:\\"},
        {"C:\\KVX", "C:\\"},
        {"C:", "C:\\"},
        {"C:\\", "C:\\"},
        {"", "\\"},  // the current drive's root
        {"AB", "AB\\"},
        {"ABC", "ABC\\"},  // the cut applies only to texts longer than three
        {"\\\\server\\share\\Apps", "\\\\s"},
        {"D:\\Data\\", "D:\\"},
    };
    for (const Case& c : cases) {
        FakeDrive drive{true, FourKilobyteClusters(4096)};
        EXPECT_EQ(drive.Text(c.folder), "16MB free") << c.folder;
        EXPECT_EQ(drive.roots, std::vector<std::string>{c.root}) << c.folder;
    }
}

TEST(FreeSpaceText, IsEmptyWhenTheDriveCannotBeAsked) {
    for (const std::string folder : {"A:\\", "\\\\server\\share", "AB", ""}) {
        FakeDrive drive{false, FourKilobyteClusters(4096)};
        EXPECT_EQ(drive.Text(folder), "") << folder;
        EXPECT_EQ(drive.roots.size(), 1u) << folder;
    }
}
