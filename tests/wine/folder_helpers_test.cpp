// The folder helpers on Wine's real file system. Every case uses folders of
// its own on D: (empty in a fresh prefix), so the cases also run together.
#include "payload/folder_helpers.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ok && written == bytes.size()) << path;
}

struct SplitCase {
    std::string before;
    std::string after;
    std::string last;
};

void ExpectSplits(std::initializer_list<SplitCase> cases) {
    for (const SplitCase& c : cases) {
        std::string path = c.before;
        EXPECT_EQ(ParentFolder(path), c.last) << c.before;
        EXPECT_EQ(path, c.after) << c.before;
    }
}

}  // namespace

TEST(ParentFolder, SplitsAtLastBackslashAndRefusesBareDriveOrBackslashParent) {
    ExpectSplits({
        {"C:\\A\\B", "C:\\A", "B"},
        {"C:\\A", "C:", ""},
        {"C:\\", "C:", ""},
        {"C:\\A\\", "C:\\A", ""},
        {"C:\\A\\\\B", "C:\\A\\", ""},
        {"\\A", "\\A", ""},
        {"A", "A", ""},
        {"\\\\srv\\share\\A", "\\\\srv\\share", "A"},
        {"", "", ""},
        {"D:\\Program Files\\Corvane Software\\KVX", "D:\\Program Files\\Corvane Software", "KVX"},
    });
}

TEST(CreateFolderPath, ExistingFolderSucceedsAndKeepsItsContent) {
    ASSERT_TRUE(CreateDirectoryA("D:\\Kept", nullptr));
    MakeFile("D:\\Kept\\file.txt", "x");
    EXPECT_EQ(CreateFolderPath("D:\\Kept"), 1);
    EXPECT_EQ(CreateFolderPath("C:\\windows"), 1);
    EXPECT_TRUE(Exists("D:\\Kept\\file.txt"));
}

TEST(CreateFolderPath, CreatesEveryMissingLevel) {
    EXPECT_EQ(CreateFolderPath("D:\\A\\B\\E"), 1);
    EXPECT_TRUE(IsFolder("D:\\A"));
    EXPECT_TRUE(IsFolder("D:\\A\\B"));
    EXPECT_TRUE(IsFolder("D:\\A\\B\\E"));
    // Over a network drive too, where the installer may be pointed.
    EXPECT_EQ(CreateFolderPath("N:\\Shared\\KVX"), 1);
    EXPECT_TRUE(IsFolder("N:\\Shared\\KVX"));
}

TEST(CreateFolderPath, FailsOnDriveThatDoesNotExist) {
    ASSERT_FALSE(Exists("Q:\\"));
    EXPECT_EQ(CreateFolderPath("Q:\\A"), 0);
    EXPECT_EQ(CreateFolderPath("Q:\\A\\B\\C"), 0);
    EXPECT_FALSE(Exists("Q:\\"));
}

TEST(CreateFolderPath, FileBearingTheNameCountsAsPresent) {
    MakeFile("D:\\Taken", "data");
    EXPECT_EQ(CreateFolderPath("D:\\Taken"), 1);
    EXPECT_FALSE(IsFolder("D:\\Taken"));
}

TEST(CreateFolderPath, FileInPlaceOfParentFailsInsteadOfClimbingForever) {
    // Wine reports a file used as a folder as "path not found", the error
    // that climbs; the parent then "exists", and a retry must not climb again.
    MakeFile("D:\\Plain", "data");
    EXPECT_EQ(CreateFolderPath("D:\\Plain\\Sub"), 0);
    EXPECT_EQ(CreateFolderPath("D:\\Plain\\Sub\\Deeper"), 0);
    EXPECT_FALSE(IsFolder("D:\\Plain"));
}

TEST(CreateFolderPath, OtherErrorsFailWithoutCreatingParents) {
    for (const char* path : {"D:\\Missing\\bad?name", "D:\\Missing\\bad<name", "D:\\Missing\\a|b"}) {
        EXPECT_EQ(CreateFolderPath(path), 0) << path;
        EXPECT_FALSE(Exists("D:\\Missing")) << path;
    }
}

TEST(CreateFolderPath, RefusedFolderReportsFailure) {
    // Wine runs as root here, so file modes refuse nothing; sysfs refuses
    // every mkdir, which Wine reports as access denied.
    const std::string refused = "Z:\\sys\\kvx-refused";
    ASSERT_FALSE(CreateDirectoryA(refused.c_str(), nullptr));
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(CreateFolderPath(refused), 0);
    EXPECT_EQ(CreateFolderPath(refused + "\\A\\B"), 0);
}

TEST(CreateFolderPath, TrailingBackslashNeedsAnExistingParent) {
    EXPECT_EQ(CreateFolderPath("D:\\Absent\\New\\"), 0);
    EXPECT_FALSE(Exists("D:\\Absent"));
    ASSERT_TRUE(CreateDirectoryA("D:\\Present", nullptr));
    EXPECT_EQ(CreateFolderPath("D:\\Present\\New\\"), 1);
    EXPECT_TRUE(IsFolder("D:\\Present\\New"));
}

TEST(FileHasContent, OnlyAFileOfOneByteOrMoreHasContent) {
    MakeFile("D:\\empty.txt", "");
    MakeFile("D:\\one.txt", "1");
    ASSERT_TRUE(CreateDirectoryA("D:\\Folder", nullptr));
    MakeFile("D:\\Folder\\inside.txt", "content");
    EXPECT_EQ(FileHasContent("D:\\missing.txt"), 0);
    EXPECT_EQ(FileHasContent("D:\\NoFolder\\missing.txt"), 0);
    EXPECT_EQ(FileHasContent("D:\\empty.txt"), 0);
    EXPECT_EQ(FileHasContent("D:\\one.txt"), 1);
    EXPECT_EQ(FileHasContent("D:\\Folder"), 0);
}

// Cases for the Japanese ANSI code page 932 (Shift-JIS). The test command
// runs the Cp932 suites once more with LC_ALL=ja_JP.UTF-8, which makes Wine
// choose it; in every other run they skip. 0x95 0x5C is one character whose
// second byte equals a backslash.
namespace {
const std::string kTrail5C = "\x95\x5C";
}

TEST(FolderHelpersCp932, TrailByte5CIsNoBackslash) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    ASSERT_TRUE(IsDBCSLeadByte(0x95));
    ExpectSplits({
        {"C:\\A\\" + kTrail5C, "C:\\A", kTrail5C},
        {"C:\\" + kTrail5C + "\\B", "C:\\" + kTrail5C, "B"},
        {"C:\\" + kTrail5C, "C:", ""},
        {"C:\\A\\" + kTrail5C + "\\", "C:\\A\\" + kTrail5C, ""},
        {kTrail5C, kTrail5C, ""},
    });
}

TEST(FolderHelpersCp932, CreatesFoldersNamedWithTrailByte5C) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    const std::string top = "D:\\" + kTrail5C;
    EXPECT_EQ(CreateFolderPath(top + "\\" + kTrail5C + "\\KVX"), 1);
    EXPECT_TRUE(IsFolder(top));
    EXPECT_TRUE(IsFolder(top + "\\" + kTrail5C));
    EXPECT_TRUE(IsFolder(top + "\\" + kTrail5C + "\\KVX"));
    MakeFile(top + "\\" + kTrail5C + "\\one.txt", "1");
    EXPECT_EQ(FileHasContent(top + "\\" + kTrail5C + "\\one.txt"), 1);
}
