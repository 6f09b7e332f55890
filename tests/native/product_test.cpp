// The generated sample files: the payload and the install run rely on their
// exact lengths, and the build on their being the same every time.
#include <gtest/gtest.h>

#include <string>

#include "product/sample_records.h"

TEST(SampleFiles, ExactLengthSameBytesEveryTimeAndCrLfTextLines) {
    for (std::size_t index = 0; index < SampleFiles.size(); ++index) {
        const std::string bytes = MakeSample(index);
        SCOPED_TRACE(std::string(SampleFiles[index].name));
        ASSERT_EQ(bytes.size(), SampleFiles[index].length);
        EXPECT_EQ(bytes, MakeSample(index));

        std::size_t lines = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(bytes[i]);
            if (c == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
                ++lines;
            } else if (c != '\r') {
                ASSERT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << int(c) << " at " << i;
            }
        }
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        EXPECT_GT(lines, bytes.size() / 200) << "records, not one long line";
    }
}
