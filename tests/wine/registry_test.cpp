// The product's registry entries, written and read against Wine's registry.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "framework/handle.h"
#include "system/registry.h"

namespace {

constexpr char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KVX.exe";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nalvora";
constexpr char kMakerKey[] = "Software\\Corvane Software";
constexpr char kSettingsKey[] = "Software\\Corvane Software\\KVX\\Settings";

struct StoredValue {
    DWORD type = REG_NONE;
    std::string bytes;  // exactly the stored data; its size is the stored length
};

std::optional<StoredValue> Query(HKEY root, const char* path, const char* name) {
    UniqueRegKey key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return std::nullopt;
    StoredValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.assign(size, '\xAA');
    RegQueryValueExA(key.get(), name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.bytes.data()),
                     &size);
    value.bytes.resize(size);
    return value;
}

void ExpectSz(HKEY root, const char* path, const char* name, const std::string& text) {
    SCOPED_TRACE(std::string(path) + " : " + (name ? name : "(default)"));
    const std::optional<StoredValue> value = Query(root, path, name);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->bytes, text + '\0');  // the NUL is stored and counted
}

bool KeyExists(HKEY root, const char* path) {
    UniqueRegKey key;
    return RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::vector<std::string> SubkeyNames(HKEY root, const char* path) {
    std::vector<std::string> names;
    UniqueRegKey key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

void PutValue(HKEY root, const char* path, const char* name, DWORD type, const std::string& bytes) {
    UniqueRegKey key;
    ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

// Every case starts as a machine where the product was never installed, also
// when the whole executable runs in one prefix.
class RegistryEntries : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAppPathKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
        RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, kMakerKey);
    }
};

void Install(const std::string& productFolder) {
    WriteSetting("Settings", "Default Folder", productFolder);
    WriteAppPathEntry(productFolder);
    WriteUninstallEntry(productFolder);
}

TEST_F(RegistryEntries, EachInstallLeavesItsFiveValuesInTheSameKeys) {
    const std::vector<std::string> appPathsBefore = SubkeyNames(HKEY_LOCAL_MACHINE, kAppPaths);
    const std::vector<std::string> uninstallBefore = SubkeyNames(HKEY_LOCAL_MACHINE, kUninstall);
    // Installs in a row, each over the one before: D:\Apps, the drive root
    // D:\ and a default folder with spaces.
    for (const std::string folder :
         {"D:\\Apps\\KVX", "D:\\KVX", "C:\\Program Files\\Corvane Software\\KVX"}) {
        SCOPED_TRACE(folder);
        Install(folder);
        ExpectSz(HKEY_LOCAL_MACHINE, kAppPathKey, nullptr, folder + "\\KVX.exe");
        ExpectSz(HKEY_LOCAL_MACHINE, kAppPathKey, "Path", folder);
        ExpectSz(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "Nalvora");
        ExpectSz(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString",
                 "\"" + folder + "\\KVXuninstall.exe\"");
        ExpectSz(HKEY_CURRENT_USER, kSettingsKey, "Default Folder", folder);
        EXPECT_EQ(ReadAppPathFolder(), folder);
    }
    // One new key each, spelt as created; nothing nested below them.
    std::vector<std::string> appPaths = SubkeyNames(HKEY_LOCAL_MACHINE, kAppPaths);
    EXPECT_EQ(appPaths.size(), appPathsBefore.size() + 1);
    EXPECT_NE(std::find(appPaths.begin(), appPaths.end(), "KVX.exe"), appPaths.end());
    std::vector<std::string> uninstall = SubkeyNames(HKEY_LOCAL_MACHINE, kUninstall);
    EXPECT_EQ(uninstall.size(), uninstallBefore.size() + 1);
    EXPECT_NE(std::find(uninstall.begin(), uninstall.end(), "Nalvora"), uninstall.end());
    EXPECT_EQ(SubkeyNames(HKEY_CURRENT_USER, kMakerKey), std::vector<std::string>{"KVX"});
    EXPECT_EQ(SubkeyNames(HKEY_CURRENT_USER, "Software\\Corvane Software\\KVX"),
              std::vector<std::string>{"Settings"});
    EXPECT_TRUE(SubkeyNames(HKEY_LOCAL_MACHINE, kAppPathKey).empty());
    EXPECT_TRUE(SubkeyNames(HKEY_LOCAL_MACHINE, kUninstallKey).empty());
    EXPECT_TRUE(SubkeyNames(HKEY_CURRENT_USER, kSettingsKey).empty());
}

TEST_F(RegistryEntries, SettingGoesBelowTheKeyTheCallerNames) {
    WriteSetting("Window", "Left", "120");
    ExpectSz(HKEY_CURRENT_USER, "Software\\Corvane Software\\KVX\\Window", "Left", "120");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
}

TEST_F(RegistryEntries, MissingMachineKeysAreNeverCreated) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAppPaths);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPaths);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstall);
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths));

    Install("D:\\Apps\\KVX");

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstall));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kCurrentVersion));
    EXPECT_EQ(ReadAppPathFolder(), "");
    ExpectSz(HKEY_CURRENT_USER, kSettingsKey, "Default Folder", "D:\\Apps\\KVX");
}

// A user who may only read the product's machine keys, as on NT without
// administrator rights: the machine entries stay as they were, the per-user
// setting is still written.
TEST_F(RegistryEntries, ReadOnlyMachineKeysLeaveOnlyTheSetting) {
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                     &readOnly, nullptr));
    for (const char* path : {kAppPathKey, kUninstallKey}) {
        UniqueRegKey key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    }
    LocalFree(readOnly);
    {
        UniqueRegKey probe;
        ASSERT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAppPathKey, 0, KEY_ALL_ACCESS, probe.put()), ERROR_SUCCESS)
            << "this registry does not enforce key security";
    }

    Install("D:\\Apps\\KVX");

    EXPECT_FALSE(Query(HKEY_LOCAL_MACHINE, kAppPathKey, nullptr).has_value());
    EXPECT_FALSE(Query(HKEY_LOCAL_MACHINE, kAppPathKey, "Path").has_value());
    EXPECT_FALSE(Query(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName").has_value());
    EXPECT_FALSE(Query(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").has_value());
    ExpectSz(HKEY_CURRENT_USER, kSettingsKey, "Default Folder", "D:\\Apps\\KVX");
}

struct StoredPath {
    const char* what;
    std::optional<StoredValue> path;  // none: the key holds no "Path"
    std::string expected;
};

TEST_F(RegistryEntries, AppPathFolderIsReadWholeOrNotAtAll) {
    const std::string text260 = "D:\\" + std::string(257, 'p');
    const std::vector<StoredPath> cases = {
        {"no Path value", std::nullopt, ""},
        {"260 bytes of text", StoredValue{REG_SZ, text260 + '\0'}, text260},
        {"261 bytes of text", StoredValue{REG_SZ, text260 + "q" + '\0'}, ""},
        {"expandable text, raw", StoredValue{REG_EXPAND_SZ, std::string("%SystemDrive%\\KVX") + '\0'},
         "%SystemDrive%\\KVX"},
        {"binary, up to its first NUL", StoredValue{REG_BINARY, std::string("D:\\KVX\0tail", 11)}, "D:\\KVX"},
        {"261 bytes without a NUL", StoredValue{REG_BINARY, std::string(261, 'x')}, std::string(261, 'x')},
    };
    EXPECT_EQ(ReadAppPathFolder(), "") << "never installed";
    for (const StoredPath& c : cases) {
        SCOPED_TRACE(c.what);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathKey);
        PutValue(HKEY_LOCAL_MACHINE, kAppPathKey, nullptr, REG_SZ, std::string("D:\\KVX\\KVX.exe") + '\0');
        if (c.path) PutValue(HKEY_LOCAL_MACHINE, kAppPathKey, "Path", c.path->type, c.path->bytes);
        EXPECT_EQ(ReadAppPathFolder(), c.expected);
    }
}

}  // namespace
