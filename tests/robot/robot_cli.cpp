// The robot for shell scripts. Each call does one thing and exits 0 on
// success, 1 on failure or time-out:
//   kvxrobot wait CAPTION [ms]         a visible window with that caption
//   kvxrobot gone CAPTION [ms]         no visible window with that caption
//   kvxrobot click CAPTION ID          press button ID of that window
//   kvxrobot settext CAPTION ID TEXT   set a control's text
//   kvxrobot text CAPTION ID           print a control's text
//   kvxrobot answer TITLE ID [ms]      wait for a message box titled TITLE, print its text, press ID
#include <cstdio>
#include <cstdlib>
#include <string>

#include "robot/robot.h"

namespace {
DWORD Timeout(int argc, char** argv, int index) {
    return argc > index ? static_cast<DWORD>(std::atoi(argv[index])) : robot::defaultTimeout;
}

HWND Window(const std::string& caption, DWORD timeout = robot::defaultTimeout) {
    HWND hwnd = nullptr;
    robot::WaitUntil([&] { return (hwnd = FindWindowA(nullptr, caption.c_str())) && IsWindowVisible(hwnd); },
                     timeout);
    return hwnd;
}

int Run(int argc, char** argv) {
    if (argc < 3) return 2;
    std::string verb = argv[1], caption = argv[2];
    if (verb == "wait") return Window(caption, Timeout(argc, argv, 3)) ? 0 : 1;
    if (verb == "gone")
        return robot::WaitUntil([&] { return !FindWindowA(nullptr, caption.c_str()); }, Timeout(argc, argv, 3)) ? 0 : 1;
    HWND hwnd = Window(caption);
    if (!hwnd) return 1;
    if (verb == "click" && argc > 3) return robot::Click(hwnd, std::atoi(argv[3])), 0;
    if (verb == "settext" && argc > 4) return robot::SetText(hwnd, std::atoi(argv[3]), argv[4]), 0;
    if (verb == "text" && argc > 3) return std::printf("%s\n", robot::Text(hwnd, std::atoi(argv[3])).c_str()), 0;
    if (verb == "answer" && argc > 3) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        auto box = robot::WaitForMessageBox(pid, Timeout(argc, argv, 4));
        if (!box) return 1;
        std::printf("%s\n", box->text.c_str());
        robot::Answer(*box, std::atoi(argv[3]));
        return 0;
    }
    return 2;
}
}  // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
