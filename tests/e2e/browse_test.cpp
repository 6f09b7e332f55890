// The browse button, the free-space label and the reinstall question,
// driven through the real setup.exe and its folder browser.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <regex>
#include <string>

#include "e2e/e2e_support.h"

namespace {

constexpr char browserCaption[] = "Setup Folder";
constexpr int editId = 1001, freeSpaceLabelId = 1005, browseId = 1000;
constexpr int treeId = 1013, browserPathId = 1028, browserFreeSpaceId = 1001;
constexpr char defaultFolder[] = "C:\\Program Files\\Corvane Software";

bool IsFreeSpaceText(const std::string& text) { return std::regex_match(text, std::regex("[0-9]+(MB|KB) free")); }

HWND OpenBrowser(const e2e::Session& session) {
    robot::Click(session.dialog, browseId);
    return robot::WaitForWindow(session.program.pid, browserCaption);
}

// Selects the top-level item whose path the browser shows as path ("D:\"),
// as a click on it would; false when there is none.
bool SelectDrive(HWND browser, const std::string& path) {
    HWND tree = GetDlgItem(browser, treeId);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        if (robot::Text(browser, browserPathId) == path) return true;
    }
    return false;
}

// Leaves the browser with OK or Cancel and waits until it is gone.
void CloseBrowser(const e2e::Session& session, HWND browser, int button) {
    robot::Click(browser, button);
    EXPECT_TRUE(robot::WaitUntilGone(session.program.pid, browserCaption));
}

void EndSetup(e2e::Session& session) {
    robot::Click(session.dialog, IDCANCEL);
    EXPECT_TRUE(robot::WaitForExit(session.program));
}

}  // namespace

TEST(Browse, OpensOnTheInstallFolderAndOkTakesTheSelectedDriveRootAsTwoCharacters) {
    ASSERT_TRUE(CreateDirectoryA("C:\\Program Files\\Corvane Software", nullptr));
    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    EXPECT_TRUE(IsFreeSpaceText(robot::Text(session->dialog, freeSpaceLabelId)))
        << robot::Text(session->dialog, freeSpaceLabelId);

    HWND browser = OpenBrowser(*session);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(robot::Text(browser, browserPathId), std::string(defaultFolder) + "\\");
    EXPECT_TRUE(IsFreeSpaceText(robot::Text(browser, browserFreeSpaceId)));
    ASSERT_TRUE(SelectDrive(browser, "D:\\"));
    CloseBrowser(*session, browser, IDOK);

    EXPECT_EQ(robot::Text(session->dialog, editId), "D:");
    EXPECT_TRUE(IsFreeSpaceText(robot::Text(session->dialog, freeSpaceLabelId)));
    EndSetup(*session);
}

TEST(Browse, StartsFromTheLastFolderTheDialogSetAndOnlyOkReplacesTheTypedText) {
    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    HWND dialog = session->dialog;
    const std::string label = robot::Text(dialog, freeSpaceLabelId);

    // Typed, browsed, cancelled: the typed text and the label stay.
    robot::SetText(dialog, editId, "N:\\Typed");
    HWND browser = OpenBrowser(*session);
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(SelectDrive(browser, "D:\\"));
    CloseBrowser(*session, browser, IDCANCEL);
    EXPECT_EQ(robot::Text(dialog, editId), "N:\\Typed");
    EXPECT_EQ(robot::Text(dialog, freeSpaceLabelId), label);

    // Confirmed: the choice replaces the typed text.
    browser = OpenBrowser(*session);
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(SelectDrive(browser, "D:\\"));
    CloseBrowser(*session, browser, IDOK);
    EXPECT_EQ(robot::Text(dialog, editId), "D:");

    // Typed again: the browser opens on D:\, the folder the dialog last set.
    robot::SetText(dialog, editId, "C:\\windows");
    browser = OpenBrowser(*session);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(robot::Text(browser, browserPathId), "D:\\");
    CloseBrowser(*session, browser, IDCANCEL);
    EXPECT_EQ(robot::Text(dialog, editId), "C:\\windows");
    EndSetup(*session);
}

TEST(Browse, OnTheWindows98FamilyNoFreeSpaceIsShownAnywhere) {
    e2e::SetWindowsVersionFor("setup98.exe", "win98");
    auto session = e2e::StartSetup(e2e::InstallerNamed("setup98.exe"));
    ASSERT_TRUE(session && session->dialog);
    HWND browser = OpenBrowser(*session);
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(SelectDrive(browser, "D:\\"));
    EXPECT_EQ(robot::Text(browser, browserFreeSpaceId), "");
    CloseBrowser(*session, browser, IDOK);
    EXPECT_EQ(robot::Text(session->dialog, editId), "D:");
    EXPECT_EQ(robot::Text(session->dialog, freeSpaceLabelId), " ");
    EndSetup(*session);
}

namespace {

void RecordEarlierInstall(const std::string& productFolder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KVX.exe", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(productFolder.c_str()),
                   static_cast<DWORD>(productFolder.size() + 1));
    RegCloseKey(key);
}

bool KeyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

TEST(Browse, AnEarlierInstallationIsProposedAfterTheReinstallQuestion) {
    RecordEarlierInstall("D:\\Apps\\kvx");
    for (const int answer : {IDNO, IDYES}) {
        auto program = robot::Start(robot::SetupExePath());
        ASSERT_TRUE(program);
        auto box = robot::WaitForMessageBox(program->pid);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, "A previous installation found.\r\nReinstall?");
        EXPECT_EQ(box->title, "setup");
        EXPECT_EQ(box->icon, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(robot::WaitForWindow(program->pid, e2e::setupCaption, 0), nullptr) << "asked before the dialog shows";
        robot::Answer(*box, answer);
        if (answer == IDNO) {
            EXPECT_TRUE(robot::WaitForExit(*program));
            EXPECT_EQ(robot::WaitForWindow(program->pid, e2e::setupCaption, 0), nullptr);
            continue;
        }
        HWND dialog = robot::WaitForWindow(program->pid, e2e::setupCaption);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(robot::Text(dialog, editId), "D:\\Apps");
        robot::Click(dialog, IDCANCEL);
        EXPECT_TRUE(robot::WaitForExit(*program));
    }
    // Neither answer wrote anything.
    EXPECT_EQ(GetFileAttributesA("D:\\Apps"), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Corvane Software"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nalvora"));
}
