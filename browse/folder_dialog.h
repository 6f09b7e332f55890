#pragma once
// The folder browser: a tree of the local fixed and removable drives and
// their folders, listed lazily as they are expanded. The caller sets the
// start folder in m_strFolder, runs the dialog and, after IDOK, reads the
// selected item's path (with its trailing backslash) back from it.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "framework/dialog.h"
#include "framework/image_list.h"
#include "framework/tree_ctrl.h"

class FolderDialog : public CDialog {
public:
    // platformKind is the installer's platform family: the free space of the
    // selected drive is shown on the NT family (2) only.
    FolderDialog(HWND parent, int platformKind);
    ~FolderDialog() override;

    CImageList m_imageList;
    std::string m_strFolder;
    CEdit m_editFreeSpace;
    CStatic m_staticFolder;
    CTreeCtrl m_tree;

protected:
    bool OnMessage(Message& m) override;
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;

private:
    void CreateImageList();
    void InsertDriveItems();
    void SelectStartFolder();
    HTREEITEM FindPathItem(std::string path);
    HTREEITEM FindChildItem(HTREEITEM parent, const std::string& name, bool expand);
    std::string ReadItemText(HTREEITEM item) const;
    bool IsPlaceholder(HTREEITEM item) const;
    bool ListSubfolders(HTREEITEM item);
    static bool HasSubfolders(const std::string& folder);
    std::string BuildItemPath(HTREEITEM item) const;

    void OnItemExpanding(Message& m);
    void OnSelChanged(Message& m);
    static const std::array<MessageEntry<FolderDialog>, 2> messageTable;

    int platformKind_;
};
