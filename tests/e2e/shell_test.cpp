// The installer's entry and its setup dialog in the Ready state, driven
// through the real setup.exe.
#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e/e2e_support.h"

namespace {

// Dialog units of the template, for comparing with pixels.
struct DialogRect { int id, x, y, cx, cy; };
constexpr DialogRect setupLayout[] = {
    {1001, 4, 14, 244, 14}, {1003, 4, 0, 38, 8},   {IDOK, 198, 100, 77, 14}, {IDCANCEL, 112, 100, 77, 14},
    {1002, 4, 43, 267, 56}, {1005, 4, 31, 138, 8},
};

TEST(SetupDialog, ReadyStateShowsTheProposalAndTheQuestion) {
    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    HWND dialog = session->dialog;
    EXPECT_EQ(robot::Text(dialog, 1003), "Setup Path:");
    EXPECT_EQ(robot::Text(dialog, 1001), "C:\\Program Files\\Corvane Software");  // Wine's Windows is C:\windows
    EXPECT_EQ(robot::Text(dialog, 1002), "\r\n\r\nInstall Nalvora?");
    EXPECT_EQ(robot::Text(dialog, IDOK), "OK");
    EXPECT_EQ(robot::Text(dialog, IDCANCEL), "Cancel");
    for (int id : {1001, 1002, 1003, 1005, IDOK, IDCANCEL, 1000}) EXPECT_TRUE(robot::Visible(dialog, id)) << id;
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(GetWindowLongA(dialog, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, 1001), GWL_STYLE) & ES_AUTOHSCROLL, ES_AUTOHSCROLL);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    robot::PressCloseBox(dialog);
    EXPECT_TRUE(robot::WaitForExit(session->program));
}

TEST(SetupDialog, ControlsStandWhereTheTemplatePutsThem) {
    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    HWND dialog = session->dialog;
    // Dialog base units from the OK button (77 x 14 units), then every control.
    RECT ok = robot::ClientRect(dialog, IDOK);
    double unitX = (ok.right - ok.left) / 77.0, unitY = (ok.bottom - ok.top) / 14.0;
    for (const auto& expected : setupLayout) {
        RECT r = robot::ClientRect(dialog, expected.id);
        EXPECT_NEAR(r.left, expected.x * unitX, 2.0) << expected.id;
        EXPECT_NEAR(r.top, expected.y * unitY, 2.0) << expected.id;
        EXPECT_NEAR(r.right - r.left, expected.cx * unitX, 2.0) << expected.id;
        EXPECT_NEAR(r.bottom - r.top, expected.cy * unitY, 2.0) << expected.id;
    }
    // The browse button covers the hidden placeholder, 2 pixels wider and 4 taller on each side.
    HWND placeholder = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == 1000 && !IsWindowVisible(child)) placeholder = child;
    ASSERT_NE(placeholder, nullptr);
    EXPECT_FALSE(IsWindowVisible(placeholder));
    EXPECT_FALSE(IsWindowEnabled(placeholder));
    RECT hidden{};
    GetWindowRect(placeholder, &hidden);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&hidden), 2);
    RECT button = robot::ClientRect(dialog, 1000);
    EXPECT_EQ(button.left, hidden.left - 2);
    EXPECT_EQ(button.right, hidden.right + 2);
    EXPECT_EQ(button.top, hidden.top - 4);
    EXPECT_EQ(button.bottom, hidden.bottom + 4);
    // Centred on the screen.
    RECT window{}, area{};
    GetWindowRect(dialog, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((window.left + window.right) / 2, (area.left + area.right) / 2, 2);
    EXPECT_NEAR((window.top + window.bottom) / 2, (area.top + area.bottom) / 2, 2);
    robot::Click(dialog, IDCANCEL);
    EXPECT_TRUE(robot::WaitForExit(session->program));
}

TEST(SetupDialog, CancelEscapeAndTheCloseBoxEachEndTheProcess) {
    struct Way { const char* name; void (*press)(HWND); };
    for (auto way : {Way{"Cancel", [](HWND d) { robot::Click(d, IDCANCEL); }}, Way{"Escape", robot::PressEscape},
                     Way{"close box", robot::PressCloseBox}}) {
        auto session = e2e::StartSetup();
        ASSERT_TRUE(session && session->dialog) << way.name;
        way.press(session->dialog);
        EXPECT_TRUE(robot::WaitForExit(session->program)) << way.name;
        EXPECT_FALSE(robot::WaitForMessageBox(session->program.pid, 0)) << way.name;
    }
}

TEST(SetupApp, Win32sIsRefusedWithoutADialogTitledByTheRenamedInstaller) {
    e2e::SetWindowsVersionFor("kvxinst.exe", "win31");
    auto program = robot::Start(e2e::InstallerNamed("kvxinst.exe"));
    ASSERT_TRUE(program);
    auto box = robot::WaitForMessageBox(program->pid);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "Only Windows 95, 98 or NT4.0");
    EXPECT_EQ(box->title, "kvxinst");
    EXPECT_EQ(box->icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box->owner, nullptr);
    EXPECT_EQ(robot::WaitForWindow(program->pid, e2e::setupCaption, 500), nullptr);
    robot::Answer(*box, IDOK);
    EXPECT_TRUE(robot::WaitForExit(*program));
}

TEST(SetupApp, TheWindows98FamilyGetsTheDialogWithABlankFreeSpaceLabel) {
    e2e::SetWindowsVersionFor("setup98.exe", "win98");
    auto session = e2e::StartSetup(e2e::InstallerNamed("setup98.exe"));
    ASSERT_TRUE(session && session->dialog);
    EXPECT_EQ(robot::Text(session->dialog, 1005), " ");
    robot::Click(session->dialog, IDCANCEL);
    EXPECT_TRUE(robot::WaitForExit(session->program));
}

}  // namespace

namespace {

// Under Wine, icon handles asked for from another process (WM_GETICON,
// WM_QUERYDRAGICON) come back as 0, so only the painting is checked here.
TEST(SetupDialog, MinimisedItPaintsAndComesBack) {
    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    HWND dialog = session->dialog;
    ShowWindow(dialog, SW_MINIMIZE);
    EXPECT_TRUE(robot::WaitUntil([&] { return IsIconic(dialog) != FALSE; }, 5000));
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ShowWindow(dialog, SW_RESTORE);
    EXPECT_TRUE(robot::WaitUntil([&] { return !IsIconic(dialog); }, 5000));
    EXPECT_FALSE(robot::HasExited(session->program));
    EXPECT_EQ(robot::Text(dialog, 1001), "C:\\Program Files\\Corvane Software");
    robot::PressCloseBox(dialog);
    EXPECT_TRUE(robot::WaitForExit(session->program));
}

TEST(SetupDialog, TheBrowseButtonNeverTakesTheFocusLook) {
    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    HWND dialog = session->dialog;
    robot::Click(dialog, 1000);
    HWND browser = robot::WaitForWindow(session->program.pid, "Setup Folder");
    ASSERT_NE(browser, nullptr);
    robot::Click(browser, IDCANCEL);
    ASSERT_TRUE(robot::WaitUntilGone(session->program.pid, "Setup Folder"));
    HWND button = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == 1000 && IsWindowVisible(child)) button = child;
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_FOCUS, 0);
    robot::Click(dialog, IDCANCEL);
    EXPECT_TRUE(robot::WaitForExit(session->program));
}

}  // namespace
