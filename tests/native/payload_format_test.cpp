// The payload container: the writer and the bounds-checked walk.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "payload/install_file_list.h"
#include "payload/payload_format.h"
#include "payload/szdd.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<Bytes> SampleFiles(std::size_t count) {
    std::vector<Bytes> files;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string text = "file " + std::to_string(i) + std::string(i * 37, 'a' + static_cast<char>(i));
        files.push_back(CompressSzdd(Bytes(text.begin(), text.end())));
    }
    return files;
}

TEST(PayloadFormat, BuildAndWalkRoundTrip) {
    const auto files = SampleFiles(InstallFileList.size());
    const Bytes payload = BuildPayload(files);
    const PayloadWalk walk = WalkPayload(payload, InstallFileList.size() + 1);
    ASSERT_EQ(walk.entries.size(), files.size());
    EXPECT_FALSE(walk.damaged);
    EXPECT_TRUE(walk.endMarker);
    EXPECT_EQ(walk.end, payload.size()) << "the payload ends right after its end marker";
    std::size_t pos = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(walk.entries[i].body, pos + 4);
        EXPECT_EQ(walk.entries[i].length, files[i].size() - 4) << "\"SZDD\" is dropped";
        EXPECT_EQ(RestoreSzdd(payload, walk.entries[i]), files[i]);
        pos = PayloadEntryEnd(walk.entries[i]);
    }
}

TEST(PayloadFormat, FirstLengthZeroYieldsNoEntries) {
    const Bytes payload = Concat({Le32(0), Le32(12345)});
    const PayloadWalk walk = WalkPayload(payload, InstallFileList.size());
    EXPECT_TRUE(walk.entries.empty());
    EXPECT_FALSE(walk.damaged);
    EXPECT_TRUE(walk.endMarker);
}

TEST(PayloadFormat, EntriesAfterTheNinthAreNeverRead) {
    // The tenth length claims far more than there is: reading it would mark
    // the walk damaged.
    Bytes payload = BuildPayload(SampleFiles(InstallFileList.size()));
    payload.resize(payload.size() - 4);
    payload = Concat({payload, Le32(0xFFFFFFF0u), Bytes(3, 0)});
    const PayloadWalk walk = WalkPayload(payload, InstallFileList.size());
    EXPECT_EQ(walk.entries.size(), InstallFileList.size());
    EXPECT_FALSE(walk.damaged);
    EXPECT_FALSE(walk.endMarker);
}

TEST(PayloadFormat, LengthsPastTheEndStopTheWalkAsDamaged) {
    const Bytes first = BuildPayload(SampleFiles(1));
    const Bytes entry(first.begin(), first.end() - 4);  // one entry, no end marker
    const struct {
        const char* name;
        Bytes payload;
        std::size_t entries;
    } cases[] = {
        {"empty", {}, 0},
        {"half a length", {0x05, 0x00}, 0},
        {"body one byte short", Concat({Le32(10), Bytes(9, 0)}), 0},
        {"largest length", Concat({Le32(0xFFFFFFFFu), Bytes(16, 0)}), 0},
        {"second body past the end", Concat({entry, Le32(100), Bytes(99, 0)}), 1},
        {"no end marker", entry, 1},
        {"end marker cut short", Concat({entry, Bytes(3, 0)}), 1},
    };
    for (const auto& c : cases) {
        const PayloadWalk walk = WalkPayload(c.payload, InstallFileList.size());
        EXPECT_TRUE(walk.damaged) << c.name;
        EXPECT_FALSE(walk.endMarker) << c.name;
        EXPECT_EQ(walk.entries.size(), c.entries) << c.name;
        for (const PayloadEntry& e : walk.entries) EXPECT_LE(PayloadEntryEnd(e), c.payload.size()) << c.name;
    }
    bool damaged = false;
    EXPECT_FALSE(NextPayloadEntry(entry, entry.size() + 100, damaged));
    EXPECT_TRUE(damaged) << "a start beyond the payload";
}

TEST(PayloadFormat, BuildRefusesWhatIsNotSzdd) {
    const std::vector<Bytes> cases[] = {{Bytes(20, 0)}, {Bytes{'S', 'Z', 'D', 'D'}}};
    for (const auto& files : cases) EXPECT_THROW((void)BuildPayload(files), std::invalid_argument);
    EXPECT_EQ(BuildPayload({}), Le32(0));
}

}  // namespace
