// Starting the installed product through the shell, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <thread>

#include "framework/handle.h"
#include "system/launch.h"

namespace {

// A folder with a space, as under "Program Files".
constexpr char kProductFolder[] = "D:\\Corvane Software\\KVX";

std::string StandInPath() {
    std::string path = std::string("Z:") + KVX_BINARY_DIR + "/product/files/KVXS.exe";
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void MakeProductFolder() {
    CreateDirectoryA("D:\\Corvane Software", nullptr);
    CreateDirectoryA(kProductFolder, nullptr);
}

HWND WaitForWindow(const char* windowClass, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
        if (HWND window = FindWindowA(windowClass, nullptr)) return window;
        Sleep(100);
    }
    return nullptr;
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CloseOwnWindow(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

int VisibleWindowsOfThisProcess() {
    int count = 0;
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(LaunchProduct, StartsKvxsFromTheProductFolder) {
    const std::string standIn = StandInPath();
    if (GetFileAttributesA(standIn.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "the product stand-in is not built: " << standIn;
    MakeProductFolder();
    const std::string program = std::string(kProductFolder) + "\\KVXS.exe";
    ASSERT_TRUE(CopyFileA(standIn.c_str(), program.c_str(), FALSE));
    ASSERT_EQ(FindWindowA("KVXSWindow", nullptr), nullptr);

    LaunchProduct(kProductFolder);

    HWND window = WaitForWindow("KVXSWindow", 20000);
    ASSERT_NE(window, nullptr) << "KVXS.exe did not open its window";
    std::array<char, 64> title{};
    GetWindowTextA(window, title.data(), static_cast<int>(title.size()));
    EXPECT_STREQ(title.data(), "Nalvora");

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId));
    ASSERT_TRUE(process);
    std::array<char, MAX_PATH> image{};
    DWORD length = MAX_PATH;
    ASSERT_TRUE(QueryFullProcessImageNameA(process.get(), 0, image.data(), &length));
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, image.data(), -1, program.c_str(), -1),
              CSTR_EQUAL)
        << image.data();

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
}

// Run apart from the test's thread, so that a message box would show as a
// call that does not return instead of hanging the test.
TEST(LaunchProduct, AMissingProgramShowsNothing) {
    MakeProductFolder();
    UniqueKernelHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(done);
    std::thread launcher([&] {
        LaunchProduct(kProductFolder);
        SetEvent(done.get());
    });
    const DWORD waited = WaitForSingleObject(done.get(), 10000);
    const int windows = VisibleWindowsOfThisProcess();
    // A stuck call is most likely a message box: close it so the thread ends.
    while (WaitForSingleObject(done.get(), 100) != WAIT_OBJECT_0)
        EnumWindows(CloseOwnWindow, 0);
    launcher.join();
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "LaunchProduct did not return";
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(FindWindowA("KVXSWindow", nullptr), nullptr);
}

}  // namespace
