#pragma once
// A control whose messages pass through its object first: rows of its
// message table run instead of the control's own processing, everything else
// goes on to the control's window procedure.
#include <windows.h>

#include "framework/message_map.h"
#include "framework/wnd.h"

class CSubclassedWnd : public CWnd {
public:
    CSubclassedWnd() = default;
    virtual ~CSubclassedWnd();
    CSubclassedWnd(const CSubclassedWnd&) = delete;
    CSubclassedWnd& operator=(const CSubclassedWnd&) = delete;

    // Routes the window's messages through this object from now on.
    void Subclass(HWND hwnd);

protected:
    virtual bool OnMessage(Message& m) = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC original_ = nullptr;
};
