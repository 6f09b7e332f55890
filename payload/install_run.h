#pragma once
// What the setup dialog's OK button does: check the folder, expand the nine
// payload files into the product folder, then record, link and start the
// product. Failures before the files are all written are reported in message
// boxes and leave the dialog Ready; what was done stays done.
#include <string>

// The parts of the setup dialog that the install run reads or changes.
class InstallDialog {
public:
    virtual ~InstallDialog() = default;
    // The folder edit box's text as the user left it.
    [[nodiscard]] virtual std::string FolderText() const = 0;
    [[nodiscard]] virtual bool Completed() const = 0;
    virtual void SetCompleted() = 0;
    // Closes the dialog as its Cancel button does.
    virtual void Close() = 0;
    virtual void ShowCompletedState() = 0;
    // The install folder field, which then holds the product folder.
    virtual void SetInstallFolder(const std::string& folder) = 0;
};

void InstallRun(InstallDialog& dialog);
