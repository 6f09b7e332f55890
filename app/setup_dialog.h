#pragma once
// The installer's one window: proposes an install folder, runs the install on
// OK and then shows the completion message until it is closed.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/icon_button.h"
#include "framework/dialog.h"
#include "payload/install_run.h"

class SetupDialog : public CDialog, private InstallDialog {
public:
    explicit SetupDialog(HWND parent);
    ~SetupDialog() override;

    // Switches to the completed look: completion text, the folder controls
    // hidden and the message moved up.
    void ShowCompletedState() override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnMessage(Message& m) override;

private:
    // What the install run reads and changes.
    std::string FolderText() const override { return m_folderEdit.GetWindowText(); }
    bool Completed() const override { return m_completed != 0; }
    void SetCompleted() override { m_completed = 1; }
    void Close() override { OnCancel(); }
    void SetInstallFolder(const std::string& folder) override { m_installFolder = folder; }

    void CreateBrowseButton();
    // False when the dialog was closed instead (the user declined to reinstall).
    bool ChooseInstallFolder();
    void UpdateFreeSpaceLabel();

    void OnBrowse(Message&);
    void OnInstall(Message&);
    void OnPaint(Message& m);
    void OnQueryDragIcon(Message& m);
    static const std::array<MessageEntry<SetupDialog>, 4> messageTable;

    std::unique_ptr<IconButton> m_browseButton;
    CStatic m_messageLabel;
    CStatic m_freeSpaceLabel;
    CButton m_placeholder;
    CStatic m_pathLabel;
    CEdit m_folderEdit;
    std::string m_messageText;
    std::string m_installFolder;
    HICON m_appIcon = nullptr;
    int m_completed = 0;
};
