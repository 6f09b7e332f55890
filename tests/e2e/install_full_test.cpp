// A whole install through the real setup.exe: the files and their times,
// the registry, the shortcuts, the started product and the completed look.
// The build runs this once more in time zones other than UTC.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "e2e/install_support.h"
#include "framework/handle.h"

namespace {

struct Times {
    FILETIME created{}, accessed{}, written{};
};

// Read through the file's attributes only: reading its contents could move
// the access time.
std::optional<Times> TimesOf(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    Times times;
    if (!file || !GetFileTime(file.get(), &times.created, &times.accessed, &times.written)) return std::nullopt;
    return times;
}

ULONGLONG Ticks(const FILETIME& time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

std::string LocalText(const FILETIME& utc) {
    SYSTEMTIME universal{}, local{};
    FileTimeToSystemTime(&utc, &universal);
    SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
             local.wMinute, local.wSecond);
    return text;
}

std::string UtcText(const FILETIME& utc) {
    SYSTEMTIME universal{};
    FileTimeToSystemTime(&utc, &universal);
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", universal.wYear, universal.wMonth, universal.wDay,
             universal.wHour, universal.wMinute, universal.wSecond);
    return text;
}

// 2003-01-12 08:00 local in the zones the build runs this in, worked out by
// hand, so the stamp is not judged by the same conversion that made it.
// Sydney keeps daylight saving in January.
std::optional<std::string> ExpectedUtcStamp() {
    static const std::map<std::string, std::string> zones{
        {"UTC", "2003-01-12 08:00:00"},
        {"Europe/Berlin", "2003-01-12 07:00:00"},
        {"America/New_York", "2003-01-12 13:00:00"},
        {"Australia/Sydney", "2003-01-11 21:00:00"},
    };
    const char* zone = std::getenv("TZ");
    auto found = zones.find(zone ? zone : "UTC");
    if (found == zones.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> RegistryText(HKEY root, const char* path, const char* name) {
    UniqueRegKey key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return std::nullopt;
    char data[1024]{};
    DWORD size = sizeof data - 1, type = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::string(data);
}

struct Link {
    std::string target, description;
};

std::optional<Link> ReadShortcut(const std::string& path) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return std::nullopt;
    std::optional<Link> result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(path.begin(), path.end());
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
            char target[MAX_PATH]{}, description[MAX_PATH]{};
            link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
            link->GetDescription(description, MAX_PATH);
            result = Link{target, description};
        }
        file->Release();
    }
    link->Release();
    return result;
}

void ExpectShortcuts(const std::string& target) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    constexpr char shellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    for (const char* folder : {"Desktop", "Programs"}) {
        auto where = RegistryText(HKEY_CURRENT_USER, shellFolders, folder);
        ASSERT_TRUE(where) << folder;
        auto link = ReadShortcut(*where + "\\KVX.lnk");
        ASSERT_TRUE(link) << *where << "\\KVX.lnk";
        EXPECT_EQ(link->target, target) << folder;
        EXPECT_EQ(link->description, "Nalvora") << folder;
    }
    CoUninitialize();
}

TEST(InstallRun, InstallsEverythingIntoAFolderWithMissingParentsAndCompletes) {
    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    HWND dialog = session->dialog;
    const RECT messageBefore = robot::ClientRect(dialog, 1002);
    FILETIME runStart{};
    GetSystemTimeAsFileTime(&runStart);

    install::PressOk(dialog, "C:\\Apps");
    ASSERT_TRUE(install::WaitForCompleted(dialog)) << "the run did not complete";
    EXPECT_FALSE(robot::WaitForMessageBox(session->program.pid, 0));

    // The product it started: KVXS.exe of the product folder.
    auto product = install::CloseProductWindow();
    ASSERT_TRUE(product) << "KVXS.exe was not started";
    EXPECT_EQ(product->title, "Nalvora");
    EXPECT_EQ(CharUpperA(product->program.data()), std::string("C:\\APPS\\KVX\\KVXS.EXE"));
    FILETIME runEnd{};
    GetSystemTimeAsFileTime(&runEnd);

    // Times first: reading the contents could move the access times.
    const std::string productFolder = "C:\\Apps\\KVX";
    auto expectedUtc = ExpectedUtcStamp();
    for (std::size_t i = 0; i < install::fileNames.size(); ++i) {
        std::string path = productFolder + "\\" + install::fileNames[i];
        auto times = TimesOf(path);
        ASSERT_TRUE(times) << path;
        if (i < install::programFileCount) {
            EXPECT_EQ(LocalText(times->created), "2003-01-12 08:00:00") << path;
            EXPECT_EQ(LocalText(times->written), "2003-01-12 08:00:00") << path;
            if (expectedUtc) EXPECT_EQ(UtcText(times->written), *expectedUtc) << path;
            // Starting KVXS.exe reads it, which on this host's relatime mount
            // moves its access time to the present.
            if (i != 1) EXPECT_EQ(LocalText(times->accessed), "2003-01-12 08:00:00") << path;
        } else {
            // Sample files keep the time of writing (to the file system's 2 s at worst).
            constexpr ULONGLONG slack = 2 * 10'000'000ULL;
            EXPECT_GE(Ticks(times->written) + slack, Ticks(runStart)) << path << " " << UtcText(times->written);
            EXPECT_LE(Ticks(times->written), Ticks(runEnd) + slack) << path << " " << UtcText(times->written);
        }
    }
    install::ExpectInstalled(productFolder);
    EXPECT_FALSE(install::Exists(productFolder + "\\KVX.tmp"));

    EXPECT_EQ(
        RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KVX.exe", nullptr),
        "C:\\Apps\\KVX\\KVX.exe");
    EXPECT_EQ(
        RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KVX.exe", "Path"),
        "C:\\Apps\\KVX");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nalvora",
                           "DisplayName"),
              "Nalvora");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nalvora",
                           "UninstallString"),
              "\"C:\\Apps\\KVX\\KVXuninstall.exe\"");
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, "Software\\Corvane Software\\KVX\\Settings", "Default Folder"),
              "C:\\Apps\\KVX");
    ExpectShortcuts("C:\\Apps\\KVX\\KVX.exe");

    // The completed look: only the message, OK and Cancel are left, and the
    // message stands 20 pixels higher with its size unchanged.
    EXPECT_EQ(robot::Text(dialog, 1002), install::completionText);
    for (int id : {1000, 1001, 1003, 1005}) EXPECT_FALSE(robot::Visible(dialog, id)) << id;
    for (int id : {IDOK, IDCANCEL}) {
        EXPECT_TRUE(robot::Visible(dialog, id)) << id;
        EXPECT_TRUE(robot::Enabled(dialog, id)) << id;
    }
    const RECT messageAfter = robot::ClientRect(dialog, 1002);
    EXPECT_EQ(messageAfter.left, messageBefore.left);
    EXPECT_EQ(messageAfter.top, messageBefore.top - 20);
    EXPECT_EQ(messageAfter.right - messageAfter.left, messageBefore.right - messageBefore.left);
    EXPECT_EQ(messageAfter.bottom - messageAfter.top, messageBefore.bottom - messageBefore.top);

    // OK now only closes: no second run, no message.
    robot::Click(dialog, IDOK);
    EXPECT_TRUE(robot::WaitForExit(session->program));
    EXPECT_FALSE(robot::WaitForClass("KVXSWindow", 1000)) << "a second run started the product again";
}

}  // namespace
