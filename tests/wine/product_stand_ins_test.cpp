// The stand-ins for the product's programs, as the installer and the end-to-end
// tests meet them: a window of their own class, gone on WM_CLOSE or by itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "framework/handle.h"

namespace {

struct Started {
    UniqueKernelHandle process;
    DWORD id = 0;
};

std::string ProductFile(const std::string& name) {
    std::string path = std::string("Z:") + KVX_BINARY_DIR + "/product/files/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

Started Start(const std::string& program) {
    std::string commandLine = ProductFile(program);
    commandLine.insert(commandLine.begin(), '"');
    commandLine += '"';
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return {};
    CloseHandle(info.hThread);
    return {UniqueKernelHandle(info.hProcess), info.dwProcessId};
}

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindTopLevelOf(HWND window, LPARAM search) {
    auto& s = *reinterpret_cast<Search*>(search);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != s.process || !IsWindowVisible(window)) return TRUE;
    s.found = window;
    return FALSE;
}

HWND WaitForWindowOf(DWORD process) {
    for (int tries = 0; tries < 100; ++tries) {
        Search search{process, nullptr};
        EnumWindows(FindTopLevelOf, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(100);
    }
    return nullptr;
}

std::string ClassOf(HWND window) {
    std::array<char, 64> text{};
    GetClassNameA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::string TitleOf(HWND window) {
    std::array<char, 64> text{};
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

}  // namespace

TEST(ProductStandIns, EachShowsItsOwnWindowAndEndsOnClose) {
    struct Program {
        const char* file;
        const char* windowClass;
    };
    for (const Program& program : {Program{"KVX.exe", "KVXWindow"}, Program{"KVXS.exe", "KVXSWindow"},
                                   Program{"KVXuninstall.exe", "KVXuninstallWindow"}}) {
        Started started = Start(program.file);
        ASSERT_TRUE(started.process) << program.file << " did not start";
        HWND window = WaitForWindowOf(started.id);
        ASSERT_NE(window, nullptr) << program.file << " showed no window";
        EXPECT_EQ(ClassOf(window), program.windowClass);
        EXPECT_EQ(TitleOf(window), "Nalvora");

        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_EQ(WaitForSingleObject(started.process.get(), 5000), WAIT_OBJECT_0) << program.file;
        DWORD exitCode = 1;
        GetExitCodeProcess(started.process.get(), &exitCode);
        EXPECT_EQ(exitCode, 0u) << program.file;
    }
}

TEST(ProductStandIns, EndOnTheirOwnSoUnattendedRunsFinish) {
    Started started = Start("KVXS.exe");
    ASSERT_TRUE(started.process);
    ASSERT_NE(WaitForWindowOf(started.id), nullptr);
    // The stand-in gives itself 15 seconds; allow for a slow machine.
    EXPECT_EQ(WaitForSingleObject(started.process.get(), 40'000), WAIT_OBJECT_0);
}
