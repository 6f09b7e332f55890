#include "product/stand_in.h"

namespace {

constexpr UINT_PTR LifetimeTimer = 1;
// Long enough for a test to find the window, short enough that a run the
// installer leaves behind ends before the test harness gives up on it.
constexpr UINT LifetimeMilliseconds = 15'000;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam != LifetimeTimer) break;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int RunStandIn(HINSTANCE instance, const char* windowClass) {
    WNDCLASSA windowClassInfo{};
    windowClassInfo.lpfnWndProc = StandInProc;
    windowClassInfo.hInstance = instance;
    windowClassInfo.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClassInfo.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClassInfo.lpszClassName = windowClass;
    if (!RegisterClassA(&windowClassInfo)) return 1;

    HWND window = CreateWindowExA(0, windowClass, "Nalvora", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 320, 160, nullptr, nullptr,
                                  instance, nullptr);
    if (!window || !SetTimer(window, LifetimeTimer, LifetimeMilliseconds, nullptr)) return 1;

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
