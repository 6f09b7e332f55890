#pragma once
// Non-owning wrappers over a control's window handle: one-line forwards,
// added as the installer needs them.
#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}

    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    [[nodiscard]] HWND GetSafeHwnd() const { return m_hWnd; }

    void SetWindowText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
    [[nodiscard]] std::string GetWindowText() const;
    void ShowWindow(int command) const { ::ShowWindow(m_hWnd, command); }
    [[nodiscard]] RECT GetWindowRect() const {
        RECT rect{};
        ::GetWindowRect(m_hWnd, &rect);
        return rect;
    }
    void MoveWindow(int x, int y, int width, int height, bool repaint = true) const {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
};

class CEdit : public CWnd {
public:
    using CWnd::CWnd;
};
class CStatic : public CWnd {
public:
    using CWnd::CWnd;
};
class CButton : public CWnd {
public:
    using CWnd::CWnd;
    void SetIcon(HICON icon) const { SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)); }
};
