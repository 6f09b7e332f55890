// The user's shell folders and the product's shortcuts, against Wine's
// registry and shell link object. No case writes to the real Desktop: in a
// Wine prefix it is a link into a folder outside the prefix.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/com.h"
#include "framework/handle.h"
#include "system/shell_folders.h"
#include "system/shortcut.h"

namespace {

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void SetShellFolder(const char* name, const std::string& text) {
    UniqueRegKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
}

void RemoveShellFolder(const char* name) {
    UniqueRegKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_ALL_ACCESS, key.put()), ERROR_SUCCESS);
    RegDeleteValueA(key.get(), name);
}

std::string ShellsOwn(int csidl) {
    std::array<char, MAX_PATH> path{};
    EXPECT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path.data()), S_OK);
    return path.data();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFile(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << path;
}

struct LinkContents {
    std::string path, description, workingDirectory;
};

LinkContents Load(const std::string& linkPath) {
    LinkContents contents;
    ComPtr<IShellLinkA> link;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put()),
              S_OK);
    ComPtr<IPersistFile> file;
    EXPECT_EQ(link->QueryInterface(IID_IPersistFile, file.put()), S_OK);
    std::array<wchar_t, MAX_PATH> widePath{};
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath.data(), MAX_PATH);
    EXPECT_EQ(file->Load(widePath.data(), STGM_READ), S_OK) << linkPath;
    std::array<char, MAX_PATH> text{};
    text.fill('\x7f');
    link->GetPath(text.data(), MAX_PATH, nullptr, 0);
    contents.path = text.data();
    text.fill('\x7f');
    link->GetDescription(text.data(), MAX_PATH);
    contents.description = text.data();
    text.fill('\x7f');
    link->GetWorkingDirectory(text.data(), MAX_PATH);
    contents.workingDirectory = text.data();
    return contents;
}

void ExpectProductLink(const std::string& linkPath, const std::string& productFolder) {
    SCOPED_TRACE(linkPath);
    ASSERT_TRUE(Exists(linkPath));
    const LinkContents link = Load(linkPath);
    EXPECT_EQ(link.path, productFolder + "\\KVX.exe");
    EXPECT_EQ(link.description, "Nalvora");
    EXPECT_EQ(link.workingDirectory, "");
}

TEST(ShellFolders, BothComeFromTheUsersShellFoldersKey) {
    SetShellFolder("Desktop", "D:\\Desk");
    SetShellFolder("Programs", "D:\\Start\\Programs");
    const ShellFolders folders = ReadShellFolders();
    EXPECT_EQ(folders.desktop, "D:\\Desk");
    EXPECT_EQ(folders.programs, "D:\\Start\\Programs");
}

// One value long, odd or missing; the other value is always read.
TEST(ShellFolders, AFolderTheKeyCannotGiveWholeIsAskedOfTheShell) {
    const std::string text259 = "D:\\" + std::string(256, 'f');
    const std::string text260 = text259 + "g";
    struct Case {
        const char* name;
        std::optional<std::string> text;  // none: the value is missing
        int csidl;
        bool fromShell;
    };
    const std::vector<Case> cases = {
        {"Desktop", text259, CSIDL_DESKTOPDIRECTORY, false},
        {"Programs", text259, CSIDL_PROGRAMS, false},
        {"Desktop", text260, CSIDL_DESKTOPDIRECTORY, true},
        {"Programs", text260, CSIDL_PROGRAMS, true},
        {"Desktop", std::nullopt, CSIDL_DESKTOPDIRECTORY, true},
        {"Programs", std::nullopt, CSIDL_PROGRAMS, true},
        {"Desktop", "", CSIDL_DESKTOPDIRECTORY, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.text ? " of " + std::to_string(c.text->size()) : " missing"));
        SetShellFolder("Desktop", "D:\\Desk");
        SetShellFolder("Programs", "D:\\Progs");
        if (c.text)
            SetShellFolder(c.name, *c.text);
        else
            RemoveShellFolder(c.name);
        const ShellFolders folders = ReadShellFolders();
        const bool desktop = std::string(c.name) == "Desktop";
        const std::string& changed = desktop ? folders.desktop : folders.programs;
        const std::string& other = desktop ? folders.programs : folders.desktop;
        EXPECT_EQ(changed, c.fromShell ? ShellsOwn(c.csidl) : *c.text);
        EXPECT_FALSE(changed.empty());
        EXPECT_EQ(other, desktop ? "D:\\Progs" : "D:\\Desk");
    }
}

TEST(ShellFolders, WithoutTheKeyBothComeFromTheShell) {
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kShellFolders), ERROR_SUCCESS);
    RegDeleteKeyA(HKEY_CURRENT_USER, kShellFolders);
    const ShellFolders folders = ReadShellFolders();
    EXPECT_EQ(folders.desktop, ShellsOwn(CSIDL_DESKTOPDIRECTORY));
    EXPECT_EQ(folders.programs, ShellsOwn(CSIDL_PROGRAMS));
    EXPECT_FALSE(folders.desktop.empty());
    EXPECT_FALSE(folders.programs.empty());
}

// The product folder and two shortcut folders on D:, which is also the
// current drive, so a stray "\KVX.lnk" would show at D:\.
class Shortcuts : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(apartment_.result()));
        for (const char* folder : {"D:\\Apps", "D:\\Apps\\KVX", "D:\\Desk", "D:\\Progs"})
            CreateDirectoryA(folder, nullptr);
        MakeFile("D:\\Apps\\KVX\\KVX.exe");
        MakeFile("D:\\Apps\\KVX\\KVXS.exe");
        ASSERT_TRUE(SetCurrentDirectoryA("D:\\"));
        RemoveLinks();
    }
    void TearDown() override { RemoveLinks(); }
    // For runs that share one prefix between cases.
    static void RemoveLinks() {
        for (const char* link : {"D:\\KVX.lnk", "D:\\Desk\\KVX.lnk", "D:\\Progs\\KVX.lnk"}) DeleteFileA(link);
    }

    ComApartment apartment_;
};

TEST_F(Shortcuts, OneShortcutHoldsTargetAndDescriptionOnly) {
    ASSERT_EQ(CreateShortcut("D:\\Apps\\KVX\\KVX.exe", "D:\\Desk\\KVX.lnk", "Nalvora"), S_OK);
    ExpectProductLink("D:\\Desk\\KVX.lnk", "D:\\Apps\\KVX");
}

TEST_F(Shortcuts, AnEarlierShortcutIsSavedOver) {
    CreateDirectoryA("D:\\Old", nullptr);
    MakeFile("D:\\Old\\KVX.exe");
    ASSERT_EQ(CreateShortcut("D:\\Old\\KVX.exe", "D:\\Desk\\KVX.lnk", "Old"), S_OK);
    ASSERT_EQ(CreateShortcut("D:\\Apps\\KVX\\KVX.exe", "D:\\Desk\\KVX.lnk", "Nalvora"), S_OK);
    ExpectProductLink("D:\\Desk\\KVX.lnk", "D:\\Apps\\KVX");
}

// 259 characters and the terminator fill the save buffer; one more is refused
// rather than cut short, and nothing is written.
TEST_F(Shortcuts, ALinkPathBeyond259CharactersFailsWithoutAFile) {
    const std::string folder = "D:\\" + std::string(240, 'd');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string fits = folder + "\\" + std::string(259 - folder.size() - 5, 'n') + ".lnk";
    const std::string tooLong = folder + "\\" + std::string(260 - folder.size() - 5, 'n') + ".lnk";
    ASSERT_EQ(fits.size(), 259u);
    ASSERT_EQ(tooLong.size(), 260u);

    EXPECT_EQ(CreateShortcut("D:\\Apps\\KVX\\KVX.exe", fits, "Nalvora"), S_OK);
    EXPECT_TRUE(Exists(fits));
    EXPECT_TRUE(FAILED(CreateShortcut("D:\\Apps\\KVX\\KVX.exe", tooLong, "Nalvora")));
    EXPECT_FALSE(Exists(tooLong));
    EXPECT_FALSE(Exists(tooLong.substr(0, 259)));
}

// The same limit in the Japanese code page, where the test command reruns the
// Cp932 suites: it counts characters, not bytes. 0x83 0x5C is one character
// whose second byte equals a backslash.
class ShortcutsCp932 : public Shortcuts {};

TEST_F(ShortcutsCp932, TheLinkPathLimitCountsCharactersNotBytes) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    const auto repeat = [](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += "\x83\x5C";
        return text;
    };
    std::string folder = "D:";
    for (int level = 0; level < 3; ++level) {
        folder += "\\" + repeat(60);
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << level;
    }
    const std::size_t folderCharacters = 2 + 3 * 61;
    const std::string fits = folder + "\\" + repeat(259 - folderCharacters - 5) + ".lnk";
    const std::string tooLong = folder + "\\" + repeat(260 - folderCharacters - 5) + ".lnk";
    ASSERT_GT(fits.size(), 259u);

    EXPECT_EQ(CreateShortcut("D:\\Apps\\KVX\\KVX.exe", fits, "Nalvora"), S_OK);
    ExpectProductLink(fits, "D:\\Apps\\KVX");
    EXPECT_TRUE(FAILED(CreateShortcut("D:\\Apps\\KVX\\KVX.exe", tooLong, "Nalvora")));
    EXPECT_FALSE(Exists(tooLong));
}

TEST_F(Shortcuts, ProductShortcutsGoToBothFolders) {
    CreateProductShortcuts("D:\\Apps\\KVX", {"D:\\Desk", "D:\\Progs"});
    ExpectProductLink("D:\\Desk\\KVX.lnk", "D:\\Apps\\KVX");
    ExpectProductLink("D:\\Progs\\KVX.lnk", "D:\\Apps\\KVX");
}

TEST_F(Shortcuts, AnUnknownFolderGetsNoShortcutAndTheDriveRootNone) {
    CreateProductShortcuts("D:\\Apps\\KVX", {"D:\\Desk", ""});
    ExpectProductLink("D:\\Desk\\KVX.lnk", "D:\\Apps\\KVX");
    EXPECT_FALSE(Exists("D:\\KVX.lnk"));
    EXPECT_FALSE(Exists("D:\\Progs\\KVX.lnk"));
    CreateProductShortcuts("D:\\Apps\\KVX", {"", "D:\\Progs"});
    ExpectProductLink("D:\\Progs\\KVX.lnk", "D:\\Apps\\KVX");
    EXPECT_FALSE(Exists("D:\\KVX.lnk"));
}

// As the install run does it, with "Programs" missing from the registry.
TEST_F(Shortcuts, AMissingProgramsValueUsesTheShellsFolder) {
    SetShellFolder("Desktop", "D:\\Desk");
    RemoveShellFolder("Programs");
    CreateProductShortcuts("D:\\Apps\\KVX", ReadShellFolders());
    ExpectProductLink("D:\\Desk\\KVX.lnk", "D:\\Apps\\KVX");
    ExpectProductLink(ShellsOwn(CSIDL_PROGRAMS) + "\\KVX.lnk", "D:\\Apps\\KVX");
    EXPECT_FALSE(Exists("D:\\KVX.lnk"));
}

TEST_F(Shortcuts, WithoutAnApartmentNothingIsSaved) {
    HRESULT result = S_OK;
    std::thread([&] { result = CreateShortcut("D:\\Apps\\KVX\\KVX.exe", "D:\\Desk\\KVX.lnk", "Nalvora"); })
        .join();
    EXPECT_EQ(result, CO_E_NOTINITIALIZED);
    EXPECT_FALSE(Exists("D:\\Desk\\KVX.lnk"));
}

// A thread already in the multithreaded apartment refuses the single-threaded
// one; leaving the scope must not take the thread out of its apartment.
TEST(ComApartmentScope, ARefusedApartmentIsNotUninitialised) {
    HRESULT refused = S_OK, again = E_FAIL;
    std::thread([&] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            ComApartment apartment;
            refused = apartment.result();
        }
        again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(again)) CoUninitialize();
        CoUninitialize();
    }).join();
    EXPECT_EQ(refused, RPC_E_CHANGED_MODE);
    EXPECT_EQ(again, S_FALSE) << "the scope uninitialised the thread's own apartment";
}

}  // namespace
