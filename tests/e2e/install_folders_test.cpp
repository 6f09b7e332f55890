// Which folders the install run accepts, what it makes of the typed text,
// and what it creates.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/install_support.h"
#include "framework/handle.h"

namespace {

std::string DefaultFolderSetting() {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvane Software\\KVX\\Settings", 0, KEY_READ, key.put()) !=
        ERROR_SUCCESS)
        return "(none)";
    char data[512]{};
    DWORD size = sizeof data - 1;
    if (RegQueryValueExA(key.get(), "Default Folder", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return "(none)";
    return data;
}

// One installer run with this text typed in, which completes.
void InstallInto(const std::string& typed) {
    SCOPED_TRACE("typed: " + typed);
    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    install::PressOk(session->dialog, typed);
    install::ExpectCompletedRun(*session);
    EXPECT_FALSE(robot::WaitForMessageBox(session->program.pid, 0));
}

TEST(InstallFolders, RefusedFoldersAreNamedAsTypedAndLeaveTheDialogReady) {
    // Folders that exist on drives that are no place to install.
    ASSERT_TRUE(CreateDirectoryA("E:\\Existing", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CreateDirectoryA("N:\\Existing", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_EQ(GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_CDROM));
    ASSERT_EQ(GetDriveTypeA("N:\\"), static_cast<UINT>(DRIVE_REMOTE));
    ASSERT_EQ(GetDriveTypeA("Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));

    struct Case {
        const char* typed;
        const char* named;
    };
    constexpr Case cases[] = {
        {"", ""},
        {"\\", ""},
        {"Apps", "Apps"},
        {"Apps\\", "Apps"},
        {"\\\\server\\share\\Apps", "\\\\server\\share\\Apps"},
        {"E:\\", "E:"},
        {"E:\\Existing", "E:\\Existing"},
        {"N:\\Existing\\", "N:\\Existing"},
        {"Q:\\Apps", "Q:\\Apps"},
    };
    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("typed: ") + c.typed);
        install::PressOk(session->dialog, c.typed);
        install::ExpectMessage(*session, std::string("Cannot create directory: ") + c.named);
        install::ExpectReady(*session);
        EXPECT_EQ(robot::Text(session->dialog, 1001), c.typed) << "the edit box keeps the text";
    }
    // Nothing was created or recorded for any of them.
    for (const char* folder : {"C:\\Apps", "C:\\KVX", "E:\\Existing\\KVX", "N:\\Existing\\KVX", "E:\\KVX"})
        EXPECT_FALSE(install::Exists(folder)) << folder;
    EXPECT_EQ(DefaultFolderSetting(), "(none)");
    robot::Click(session->dialog, IDCANCEL);
    EXPECT_TRUE(robot::WaitForExit(session->program));
}

TEST(InstallFolders, ADriveAloneInstallsIntoItsRootAndASecondRunReplacesTheProgramFiles) {
    InstallInto("C:");
    install::ExpectInstalled("C:\\KVX");
    EXPECT_EQ(DefaultFolderSetting(), "C:\\KVX");

    // The product folder is there now: no message about it, only the
    // questions about the sample files, and what was changed is put back.
    install::WriteBytes("C:\\KVX\\KVX.exe", "changed");
    install::WriteBytes("C:\\KVX\\ReadMe.txt", "changed");
    auto session = install::StartSetupToReinstall();
    ASSERT_TRUE(session && session->dialog);
    install::PressOk(session->dialog, "C:\\");
    for (std::size_t i = install::programFileCount; i < install::fileNames.size(); ++i)
        install::ExpectMessage(*session, std::string(install::fileNames[i]) + install::sampleQuestion, IDNO,
                               {IDYES, IDNO});
    install::ExpectCompletedRun(*session);
    install::ExpectInstalled("C:\\KVX");
    EXPECT_EQ(DefaultFolderSetting(), "C:\\KVX");
}

TEST(InstallFolders, OnlyOneOfTwoTrailingBackslashesIsDropped) {
    InstallInto("D:\\Apps\\\\");
    // The install folder keeps one backslash, so the product folder has two
    // in a row; the file system reads them as one.
    EXPECT_EQ(DefaultFolderSetting(), "D:\\Apps\\\\KVX");
    install::ExpectInstalled("D:\\Apps\\KVX");
}

TEST(InstallFolders, MissingParentsAreCreatedLevelByLevel) {
    InstallInto("D:\\One\\Two\\Three\\Four");
    install::ExpectInstalled("D:\\One\\Two\\Three\\Four\\KVX");
    EXPECT_EQ(DefaultFolderSetting(), "D:\\One\\Two\\Three\\Four\\KVX");
}

}  // namespace
