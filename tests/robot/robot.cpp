#include "robot/robot.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace robot {
namespace {

struct Search {
    DWORD pid;
    const std::string* caption;
    const std::string* windowClass;
    HWND found = nullptr;
};

// WM_GETTEXT, not GetWindowText: only the message reaches the text of a
// control that belongs to another process.
std::string WindowText(HWND hwnd) {
    std::array<char, 4096> text{};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    return std::string(text.data(), std::min<std::size_t>(copied, text.size()));
}

std::string ClassOf(HWND hwnd) {
    std::array<char, 256> name{};
    GetClassNameA(hwnd, name.data(), static_cast<int>(name.size()));
    return name.data();
}

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (search.pid && pid != search.pid) return TRUE;
    if (!IsWindowVisible(hwnd)) return TRUE;
    if (search.caption && WindowText(hwnd) != *search.caption) return TRUE;
    if (search.windowClass && ClassOf(hwnd) != *search.windowClass) return TRUE;
    search.found = hwnd;
    return FALSE;
}

HWND FindTopLevel(DWORD pid, const std::string* caption, const std::string* windowClass) {
    Search search{pid, caption, windowClass};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A message box is a dialog with the message text in control 0xFFFF.
bool IsMessageBox(HWND hwnd) { return ClassOf(hwnd) == "#32770" && GetDlgItem(hwnd, 0xFFFF) != nullptr; }

BOOL CALLBACK MatchMessageBox(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search.pid && IsWindowVisible(hwnd) && IsMessageBox(hwnd)) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// 32-bit pixels of a 32 x 32 area drawn by `paint` into a memory bitmap.
template <class Paint>
std::vector<DWORD> Pixels(Paint paint) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    paint(memory, screen);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 32 * 32);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

// Which standard icon a message box shows, judged by the pixels on screen:
// icon handles of another process cannot be compared under every system.
UINT IconOf(HWND box) {
    HWND iconControl = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            iconControl = child;
    if (!iconControl || !IsWindowVisible(iconControl)) return 0;
    RECT rect{};
    GetWindowRect(iconControl, &rect);
    auto shown = Pixels([&](HDC memory, HDC screen) { BitBlt(memory, 0, 0, 32, 32, screen, rect.left, rect.top, SRCCOPY); });
    struct Known { LPCSTR id; UINT flag; };
    UINT best = 0;
    std::size_t bestMatches = 0;
    for (auto known : {Known{IDI_EXCLAMATION, MB_ICONEXCLAMATION}, Known{IDI_HAND, MB_ICONHAND},
                       Known{IDI_QUESTION, MB_ICONQUESTION}, Known{IDI_ASTERISK, MB_ICONASTERISK}}) {
        HICON icon = LoadIconA(nullptr, known.id);
        // Drawn on black and on white: pixels equal in both are the icon's own.
        auto onBlack = Pixels([&](HDC memory, HDC) { PatBlt(memory, 0, 0, 32, 32, BLACKNESS); DrawIconEx(memory, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL); });
        auto onWhite = Pixels([&](HDC memory, HDC) { PatBlt(memory, 0, 0, 32, 32, WHITENESS); DrawIconEx(memory, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL); });
        std::size_t opaque = 0, matches = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (onBlack[i] != onWhite[i]) continue;
            ++opaque;
            if (shown[i] == onBlack[i]) ++matches;
        }
        if (opaque > 100 && matches * 10 >= opaque * 9 && matches > bestMatches) {
            best = known.flag;
            bestMatches = matches;
        }
    }
    return best;
}

// The control with this id, preferring a visible one: the setup dialog's
// browse button shares its id with a hidden placeholder.
HWND Control(HWND dialog, int id) {
    HWND fallback = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) != id) continue;
        if (IsWindowVisible(child)) return child;
        if (!fallback) fallback = child;
    }
    return fallback;
}

}  // namespace

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string SetupExePath() { return WindowsPath(std::string(KVX_BINARY_DIR) + "/app/setup.exe"); }

bool CopyTo(const std::string& from, const std::string& to) { return CopyFileA(from.c_str(), to.c_str(), FALSE); }

std::optional<Program> Start(const std::string& exe, const std::string& arguments) {
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup,
                        &info))
        return std::nullopt;
    CloseHandle(info.hThread);
    Program program;
    program.process.reset(info.hProcess);
    program.pid = info.dwProcessId;
    return program;
}

bool WaitForExit(const Program& program, DWORD timeoutMs) {
    return WaitForSingleObject(program.process.get(), timeoutMs) == WAIT_OBJECT_0;
}

bool HasExited(const Program& program) { return WaitForExit(program, 0); }

HWND WaitForWindow(DWORD pid, const std::string& caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(pid, &caption, nullptr)) != nullptr; }, timeoutMs);
    return found;
}

HWND WaitForClass(const std::string& windowClass, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(0, nullptr, &windowClass)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitUntilGone(DWORD pid, const std::string& caption, DWORD timeoutMs) {
    return WaitUntil([&] { return FindTopLevel(pid, &caption, nullptr) == nullptr; }, timeoutMs);
}

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    Search search{pid, nullptr, nullptr};
    bool seen = WaitUntil(
        [&] {
            search.found = nullptr;
            EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    if (!seen) return std::nullopt;
    MessageBoxSeen box;
    box.window = search.found;
    box.title = WindowText(box.window);
    box.text = Text(box.window, 0xFFFF);
    box.owner = GetWindow(box.window, GW_OWNER);
    // The box may not have painted yet when it first becomes visible.
    WaitUntil([&] { return (box.icon = IconOf(box.window)) != 0; }, 2000);
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (HWND button = GetDlgItem(box.window, id); button && IsWindowVisible(button)) box.buttons.push_back(id);
    return box;
}

void Answer(const MessageBoxSeen& box, int buttonId) { Click(box.window, buttonId); }

std::string Text(HWND dialog, int id) { return WindowText(Control(dialog, id)); }

bool Visible(HWND dialog, int id) { return IsWindowVisible(Control(dialog, id)); }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(Control(dialog, id)); }

RECT ClientRect(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(Control(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void SetText(HWND dialog, int id, const std::string& text) {
    SendMessageA(Control(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND dialog, int id) { PostMessageA(Control(dialog, id), BM_CLICK, 0, 0); }

void PressEscape(HWND dialog) {
    HWND target = GetDlgItem(dialog, IDOK);
    PostMessageA(target ? target : dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(target ? target : dialog, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

void PressCloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

}  // namespace robot
