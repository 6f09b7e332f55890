#pragma once
// The folder browser driven from inside its own message loop, for the Wine
// tests and the browser's benchmark.
#include <windows.h>

#include <functional>

#include "browse/folder_dialog.h"
#include "res/resource.h"

// The browser with a script that runs once the dialog is on screen, like a
// user sitting in front of it. The script ends the dialog; one that stops
// early on a failed assertion leaves it to be ended with IDABORT.
class DrivenFolderDialog : public FolderDialog {
public:
    static constexpr UINT scriptMessage = WM_APP + 1;

    DrivenFolderDialog(int platformKind, std::function<void(DrivenFolderDialog&)> script)
        : FolderDialog(nullptr, platformKind), script_(std::move(script)) {}

    HWND Window() const { return m_hWnd; }
    HWND Tree() const { return GetDlgItem(m_hWnd, IDC_FOLDER_TREE); }
    void Click(int id) const { ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

protected:
    BOOL OnInitDialog() override {
        const BOOL result = FolderDialog::OnInitDialog();
        PostMessageA(m_hWnd, DrivenFolderDialog::scriptMessage, 0, 0);
        return result;
    }
    bool OnMessage(Message& m) override {
        if (m.message != scriptMessage) return FolderDialog::OnMessage(m);
        script_(*this);
        if (!ended_) EndDialog(IDABORT);
        return true;
    }
    void OnOK() override {
        ended_ = true;
        FolderDialog::OnOK();
    }
    void OnCancel() override {
        ended_ = true;
        FolderDialog::OnCancel();
    }

private:
    std::function<void(DrivenFolderDialog&)> script_;
    bool ended_ = false;
};
