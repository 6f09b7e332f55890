#include "framework/subclass.h"

namespace {
constexpr char objectProperty[] = "KvxWindowObject";
}

CSubclassedWnd::~CSubclassedWnd() {
    if (m_hWnd && IsWindow(m_hWnd) && original_) {
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropA(m_hWnd, objectProperty);
    }
}

void CSubclassedWnd::Subclass(HWND hwnd) {
    Attach(hwnd);
    SetPropA(hwnd, objectProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSubclassedWnd::WindowProc)));
}

LRESULT CALLBACK CSubclassedWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CSubclassedWnd*>(GetPropA(hwnd, objectProperty));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    WNDPROC original = self->original_;
    Message m{message, wParam, lParam};
    if (message == WM_NCDESTROY) {
        // The window goes away before its object: hand it back to its own procedure.
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(hwnd, objectProperty);
        self->m_hWnd = nullptr;
        return CallWindowProcA(original, hwnd, message, wParam, lParam);
    }
    if (self->OnMessage(m)) return m.result;
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
}
