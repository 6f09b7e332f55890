#pragma once
// Modal dialogs from templates. The dialog object travels in DialogBoxParam's
// lParam; one static procedure stores it at WM_INITDIALOG and forwards every
// message to it. Exceptions stop there: a failed file write becomes the file
// error report and nothing unwinds through user32.
#include <windows.h>

#include <string>

#include "framework/message_map.h"
#include "framework/wnd.h"

// One-direction data exchange: from the dialog object to its controls. The
// first exchange attaches the control wrappers; every exchange pushes texts.
class CDataExchange {
public:
    CDataExchange(HWND dialog, bool first) : dialog_(dialog), first_(first) {}
    void Control(int id, CWnd& wrapper) const {
        if (first_) wrapper.Attach(GetDlgItem(dialog_, id));
    }
    void Text(int id, const std::string& text) const { SetDlgItemTextA(dialog_, id, text.c_str()); }
    [[nodiscard]] bool First() const { return first_; }

private:
    HWND dialog_;
    bool first_;
};

class CDialog : public CWnd {
public:
    CDialog(UINT templateId, HWND parent);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    INT_PTR DoModal();
    void EndDialog(INT_PTR result) const { ::EndDialog(m_hWnd, result); }

protected:
    // Base initialisation: the first data exchange and centring. Return TRUE to
    // let the system give the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    // The derived dialog's message table; false when no row matched.
    virtual bool OnMessage(Message& m);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    // Runs the data exchange again (not the first).
    void UpdateData();
    [[nodiscard]] HWND Parent() const { return parent_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    HWND previousActive_ = nullptr;
};

// Centres a window on its owner, or on the screen's work area when it has none.
void CenterWindow(HWND hwnd);
