#pragma once
// What the end-to-end tests share: starting the installer in this test's
// prefix (optionally renamed, optionally as another Windows version) and
// finding its setup dialog.
#include <windows.h>

#include <optional>
#include <string>

#include "robot/robot.h"

namespace e2e {

inline constexpr char setupCaption[] = "Setup Nalvora";

// Makes Wine report this Windows version ("win98", "win31", ...) to programs
// with this file name. Read when the program starts.
inline void SetWindowsVersionFor(const std::string& exeName, const std::string& version) {
    std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                       static_cast<DWORD>(version.size() + 1));
        RegCloseKey(handle);
    }
}

// The installer copied under another file name into C:\robot.
inline std::string InstallerNamed(const std::string& exeName) {
    CreateDirectoryA("C:\\robot", nullptr);
    std::string path = "C:\\robot\\" + exeName;
    robot::CopyTo(robot::SetupExePath(), path);
    return path;
}

struct Session {
    robot::Program program;
    HWND dialog = nullptr;
};

// Starts the installer and waits for its setup dialog.
inline std::optional<Session> StartSetup(const std::string& exe = robot::SetupExePath()) {
    auto program = robot::Start(exe);
    if (!program) return std::nullopt;
    Session session{std::move(*program)};
    session.dialog = robot::WaitForWindow(session.program.pid, setupCaption);
    return session;
}

}  // namespace e2e
