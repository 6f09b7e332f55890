#include "framework/dialog.h"

#include <exception>

#include "framework/app.h"
#include "framework/file.h"
#include "framework/message_box.h"

namespace {
// The innermost running modal dialog: the owner of message boxes.
HWND activeDialog = nullptr;

// Messages whose result a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG: case WM_QUERYDRAGICON: case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM:
        return true;
    default:
        return false;
    }
}
}  // namespace

HWND ActiveDialogWindow() { return activeDialog; }

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    previousActive_ = activeDialog;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId_), parent_, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    activeDialog = previousActive_;
    m_hWnd = nullptr;
    return result;
}

BOOL CDialog::OnInitDialog() {
    CDataExchange dx(m_hWnd, true);
    DoDataExchange(dx);
    CenterWindow(m_hWnd);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::OnMessage(Message&) { return false; }

void CDialog::UpdateData() {
    CDataExchange dx(m_hWnd, false);
    DoDataExchange(dx);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        activeDialog = hwnd;
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const CFileException& error) {
        ReportFileError(error);
    } catch (const std::exception&) {
        AppMessageBox("An unexpected error occurred.", MB_OK | MB_ICONSTOP);
    } catch (...) {
        AppMessageBox("An unexpected error occurred.", MB_OK | MB_ICONSTOP);
    }
    return TRUE;
}

INT_PTR CDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    Message m{message, wParam, lParam};
    if (message == WM_INITDIALOG) return OnInitDialog();
    if (OnMessage(m)) {
        if (ReturnsDirectly(message)) return m.result;
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, m.result);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) { OnOK(); return TRUE; }
        if (LOWORD(wParam) == IDCANCEL) { OnCancel(); return TRUE; }
    }
    return FALSE;
}

void CenterWindow(HWND hwnd) {
    RECT area{};
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    else SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
