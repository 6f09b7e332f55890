#pragma once
// Our robot: starts the installer, finds its windows and drives them the way
// a user would, through messages only. Every wait polls with a time limit, so
// a stuck dialog fails a test instead of hanging it.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/handle.h"

namespace robot {

constexpr DWORD defaultTimeout = 15000;

// A started program; the handle closes with the object.
struct Program {
    UniqueKernelHandle process;
    DWORD pid = 0;
};

// The built setup.exe, as a Windows path.
std::string SetupExePath();
// A Unix path of the build or source tree as a Windows path (Z: drive).
std::string WindowsPath(const std::string& unixPath);
// Copies a file; returns false on failure.
bool CopyTo(const std::string& from, const std::string& to);

// Starts a program with C:\ as its current folder.
[[nodiscard]] std::optional<Program> Start(const std::string& exe, const std::string& arguments = "");
// True when the program ended within the time limit.
bool WaitForExit(const Program& program, DWORD timeoutMs = defaultTimeout);
bool HasExited(const Program& program);

// A visible top-level window of the process with exactly this caption.
HWND WaitForWindow(DWORD pid, const std::string& caption, DWORD timeoutMs = defaultTimeout);
// Any visible top-level window of any process with this class.
HWND WaitForClass(const std::string& windowClass, DWORD timeoutMs = defaultTimeout);
// True when no visible window of the process has the caption, within the limit.
bool WaitUntilGone(DWORD pid, const std::string& caption, DWORD timeoutMs = defaultTimeout);

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string title;
    std::string text;
    HWND owner = nullptr;
    // MB_ICONEXCLAMATION, MB_ICONHAND, MB_ICONQUESTION, MB_ICONASTERISK or 0.
    UINT icon = 0;
    std::vector<int> buttons;  // ids of the visible buttons (IDOK, IDYES, ...)
};
// A message box shown by the process.
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD pid, DWORD timeoutMs = defaultTimeout);
// Presses one of its buttons.
void Answer(const MessageBoxSeen& box, int buttonId);

// Controls of a dialog, by id.
std::string Text(HWND dialog, int id);
bool Visible(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
RECT ClientRect(HWND dialog, int id);  // in the dialog's client coordinates
void SetText(HWND dialog, int id, const std::string& text);
// A click on a button, as the mouse gives it (posted, so a modal box it opens
// does not block the robot).
void Click(HWND dialog, int id);
// The Escape key as the dialog's keyboard handling sees it.
void PressEscape(HWND dialog);
// The close box of the caption.
void PressCloseBox(HWND dialog);

// Waits until fn() holds, polling; false on time-out.
template <class Predicate>
bool WaitUntil(Predicate fn, DWORD timeoutMs = defaultTimeout) {
    DWORD start = GetTickCount();
    while (!fn()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

}  // namespace robot
