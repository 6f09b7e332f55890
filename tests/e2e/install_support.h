#pragma once
// What the install-run tests share: the nine files and where they come from,
// pressing OK with a folder typed in, the messages of the run, the completed
// look and the product window the run starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "e2e/e2e_support.h"

namespace install {

// The installed names, relative to the product folder, in payload order.
inline constexpr std::array<const char*, 9> fileNames{
    "KVX.exe",
    "KVXS.exe",
    "KVX.hlp",
    "KVX.cnt",
    "KVXuninstall.exe",
    "ReadMe.txt",
    "dalmont\\dalmont.idx",
    "dalmont\\ngf0700c1.kvx",
    "dalmont\\ngf1b433d.kvx",
};
inline constexpr std::size_t programFileCount = 6;

inline constexpr char installQuestion[] = "\r\n\r\nInstall Nalvora?";
inline constexpr char sampleQuestion[] = "\r\n\r\nSample file already exists.\r\nReplace?";
inline constexpr char completionText[] =
    "The program has been successfully installed.\r\n"
    "A shortcut (named KVX) can be found on Windows Desktop and in \"Programs\" of Windows \"Start\".";

// The stand-in the build packed as entry i.
inline std::string ShippedFile(std::size_t i) {
    return robot::WindowsPath(std::string(KVX_BINARY_DIR) + "/product/files/") + fileNames[i];
}

// A test build of the installer (tests/variants), copied to C:\<folder>\setup.exe
// so that its messages carry the product's title.
inline std::string VariantInstaller(const std::string& variant) {
    std::string folder = "C:\\" + variant;
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\setup.exe";
    robot::CopyTo(robot::WindowsPath(std::string(KVX_BINARY_DIR) + "/tests/variants/setup_" + variant + ".exe"), path);
    return path;
}

inline std::optional<std::string> ReadBytes(const std::string& path) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    std::array<char, 65536> chunk;
    DWORD got = 0;
    while (ReadFile(file, chunk.data(), chunk.size(), &got, nullptr) && got > 0) bytes.append(chunk.data(), got);
    CloseHandle(file);
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size()) << path;
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Entries [first, end) are in place byte for byte.
inline void ExpectInstalled(const std::string& productFolder, std::size_t first = 0,
                            std::size_t end = fileNames.size()) {
    for (std::size_t i = first; i < end; ++i) {
        std::string path = productFolder + "\\" + fileNames[i];
        auto expected = ReadBytes(ShippedFile(i));
        ASSERT_TRUE(expected) << ShippedFile(i);
        auto actual = ReadBytes(path);
        ASSERT_TRUE(actual) << path;
        EXPECT_EQ(actual->size(), expected->size()) << path;
        EXPECT_TRUE(*actual == *expected) << path << " differs from what was shipped";
    }
}

// Entries [first, end) were not written.
inline void ExpectMissing(const std::string& productFolder, std::size_t first, std::size_t end = fileNames.size()) {
    for (std::size_t i = first; i < end; ++i) EXPECT_FALSE(Exists(productFolder + "\\" + fileNames[i])) << fileNames[i];
}

// Starts the installer where an earlier install is recorded: answers its
// question with Yes and waits for the dialog.
inline std::optional<e2e::Session> StartSetupToReinstall(const std::string& exe = robot::SetupExePath()) {
    auto program = robot::Start(exe);
    if (!program) return std::nullopt;
    auto box = robot::WaitForMessageBox(program->pid);
    EXPECT_TRUE(box) << "no reinstall question";
    if (!box) return std::nullopt;
    EXPECT_EQ(box->text, "A previous installation found.\r\nReinstall?");
    robot::Answer(*box, IDYES);
    e2e::Session session{std::move(*program)};
    session.dialog = robot::WaitForWindow(session.program.pid, e2e::setupCaption);
    return session;
}

// Types the folder and presses OK, as a user would.
inline void PressOk(HWND dialog, const std::string& folder) {
    robot::SetText(dialog, 1001, folder);
    robot::Click(dialog, IDOK);
}

// The next message box of the run: its text, an exclamation (or the given)
// icon, the installer's title and owner. Answered with the first of its
// buttons unless told otherwise.
inline void ExpectMessage(const e2e::Session& session, const std::string& text, int answer = IDOK,
                          std::vector<int> buttons = {IDOK}, UINT icon = MB_ICONEXCLAMATION) {
    auto box = robot::WaitForMessageBox(session.program.pid);
    ASSERT_TRUE(box) << "no message box; expected: " << text;
    if (box->icon != icon) {
        // The icon is judged by the pixels on screen, and tests that run side
        // by side share one screen: bring the box to the top and look again.
        SetWindowPos(box->window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (auto again = robot::WaitForMessageBox(session.program.pid); again && again->window == box->window)
            box->icon = again->icon;
    }
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->title, "setup");
    EXPECT_EQ(box->icon, icon) << box->text;
    EXPECT_EQ(box->buttons, buttons) << box->text;
    EXPECT_EQ(box->owner, session.dialog) << box->text;
    EXPECT_FALSE(IsWindowEnabled(session.dialog)) << "not modal: " << box->text;
    robot::Answer(*box, answer);
    EXPECT_TRUE(robot::WaitUntil([&] { return !IsWindow(box->window); })) << box->text;
}

// True once the dialog shows its completed look.
inline bool WaitForCompleted(HWND dialog) {
    return robot::WaitUntil(
        [&] { return robot::Text(dialog, 1002) == completionText && !robot::Visible(dialog, 1001); });
}

// The dialog is still Ready: the question shown, the folder controls there.
inline void ExpectReady(const e2e::Session& session) {
    EXPECT_FALSE(robot::HasExited(session.program));
    EXPECT_EQ(robot::Text(session.dialog, 1002), installQuestion);
    for (int id : {1000, 1001, 1003, 1005}) EXPECT_TRUE(robot::Visible(session.dialog, id)) << id;
    EXPECT_TRUE(IsWindowEnabled(session.dialog));
}

struct ProductWindow {
    std::string title;
    std::string program;  // the path of the program that showed it
};

// The product window the completed run started, which this closes; nothing
// when none appeared.
inline std::optional<ProductWindow> CloseProductWindow() {
    HWND window = robot::WaitForClass("KVXSWindow");
    if (!window) return std::nullopt;
    ProductWindow seen;
    std::array<char, 256> title{};
    GetWindowTextA(window, title.data(), title.size());
    seen.title = title.data();
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
    if (process) {
        std::array<char, MAX_PATH> path{};
        DWORD size = path.size();
        if (QueryFullProcessImageNameA(process, 0, path.data(), &size)) seen.program.assign(path.data(), size);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process) {
        EXPECT_EQ(WaitForSingleObject(process, robot::defaultTimeout), WAIT_OBJECT_0) << "the product did not close";
        CloseHandle(process);
    }
    return seen;
}

// A run that completes: waits for the completed look, closes
// the product it started, and ends the installer with OK.
inline void ExpectCompletedRun(const e2e::Session& session) {
    ASSERT_TRUE(WaitForCompleted(session.dialog));
    EXPECT_TRUE(CloseProductWindow()) << "the product was not started";
    robot::Click(session.dialog, IDOK);
    EXPECT_TRUE(robot::WaitForExit(session.program));
}

}  // namespace install
