#include "app/setup_rules.h"

#include <gtest/gtest.h>

TEST(PlatformKind, ClassifiesByBitsNotVersion) {
    struct Case { unsigned long id; int kind; };
    for (auto c : {Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{3, 2}, Case{4, 0}, Case{5, 1}, Case{6, 2},
                   Case{0xFFFFFFFFul, 2}, Case{0xFFFFFFFDul, 1}, Case{0x80000000ul, 0}})
        EXPECT_EQ(PlatformKind(c.id), c.kind) << "platform id " << c.id;
}

TEST(DefaultInstallFolder, UsesTheWindowsDriveInCapitals) {
    struct Case { const char* windows; const char* folder; };
    for (auto c : {Case{"c:\\windows", "C:\\Program Files\\Corvane Software"},
                   Case{"c:\\winnt", "C:\\Program Files\\Corvane Software"},
                   Case{"Z:\\WIN", "Z:\\Program Files\\Corvane Software"},
                   Case{"\\\\server\\windows", "\\Corvane Software"},
                   Case{"", "\\Corvane Software"},
                   Case{"c", "\\Corvane Software"},
                   Case{"1:\\windows", "\\Corvane Software"},
                   Case{"\xE4:\\windows", "\\Corvane Software"}})
        EXPECT_EQ(DefaultInstallFolder(c.windows), c.folder) << c.windows;
}

TEST(PreviousInstallFolder, NeedsTheProductSuffixInAnyCase) {
    EXPECT_EQ(PreviousInstallFolder("D:\\Apps\\KVX"), "D:\\Apps");
    EXPECT_EQ(PreviousInstallFolder("D:\\Apps\\kvx"), "D:\\Apps");
    EXPECT_EQ(PreviousInstallFolder("\\KVX"), "");
    EXPECT_EQ(PreviousInstallFolder("D:\\Apps\\KVX2"), std::nullopt);
    EXPECT_EQ(PreviousInstallFolder("KVX"), std::nullopt);
    EXPECT_EQ(PreviousInstallFolder(""), std::nullopt);
}

TEST(FolderFromBrowser, DropsOneTrailingBackslash) {
    EXPECT_EQ(FolderFromBrowser("D:\\Data\\"), "D:\\Data");
    EXPECT_EQ(FolderFromBrowser("D:\\"), "D:");
    EXPECT_EQ(FolderFromBrowser("D:\\Data\\\\"), "D:\\Data\\");
    EXPECT_EQ(FolderFromBrowser("\\"), "\\");
    EXPECT_EQ(FolderFromBrowser(""), "");
}
