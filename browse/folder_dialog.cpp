#include "browse/folder_dialog.h"

#include <string_view>

#include "browse/directory_search.h"
#include "browse/free_space.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "res/resource.h"

namespace {
// The browser's read-only free-space box carries the same number as the
// setup dialog's folder edit box.
constexpr int freeSpaceEditId = IDC_FOLDER_EDIT;
constexpr int closedImage = 0;
constexpr int openImage = 1;
constexpr int platformNt = 2;
constexpr std::size_t itemTextCapacity = 260;

// A directory the tree lists: not "." or "..", and not a system folder
// (hidden and read-only ones are listed).
bool IsListableFolder(const WIN32_FIND_DATAA& entry) {
    const std::string_view name = entry.cFileName;
    if (name == "." || name == "..") return false;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    return !(entry.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM);
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Equal apart from the case of A to Z. Double-byte characters compare
// exactly, so a trail byte that looks like a letter is not folded.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

// The first backslash that is a character of its own, not the trail byte of
// a double-byte character; npos when there is none.
std::size_t FindBackslash(const std::string& text) {
    for (const char* p = text.c_str(); *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\') return static_cast<std::size_t>(p - text.c_str());
    }
    return std::string::npos;
}
}  // namespace

const std::array<MessageEntry<FolderDialog>, 2> FolderDialog::messageTable{{
    {WM_NOTIFY, TVN_ITEMEXPANDINGA, IDC_FOLDER_TREE, &FolderDialog::OnItemExpanding},
    {WM_NOTIFY, TVN_SELCHANGEDA, IDC_FOLDER_TREE, &FolderDialog::OnSelChanged},
}};

FolderDialog::FolderDialog(HWND parent, int platformKind) : CDialog(IDD_FOLDER, parent), platformKind_(platformKind) {}

FolderDialog::~FolderDialog() = default;

bool FolderDialog::OnMessage(Message& m) { return RouteMessage<FolderDialog>(*this, messageTable, m); }

void FolderDialog::DoDataExchange(CDataExchange& dx) {
    dx.Control(freeSpaceEditId, m_editFreeSpace);
    dx.Control(IDC_FOLDER_PATH, m_staticFolder);
    dx.Control(IDC_FOLDER_TREE, m_tree);
}

BOOL FolderDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText("Setup Folder");
    CreateImageList();
    m_tree.AddStyle(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
    m_tree.SetImageList(m_imageList.GetSafeHandle(), TVSIL_NORMAL);
    InsertDriveItems();
    SelectStartFolder();
    SetFocus(m_tree.m_hWnd);
    return FALSE;
}

void FolderDialog::CreateImageList() {
    // Without a list the tree works on without pictures; the beep is the only sign.
    if (!m_imageList.Create(16, 16, ILC_MASK, 0, 8)) Beep(99, 99);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_imageList.Add(LoadIconA(instance, MAKEINTRESOURCEA(IDI_FOLDER_CLOSED)));
    m_imageList.Add(LoadIconA(instance, MAKEINTRESOURCEA(IDI_FOLDER_OPEN)));
}

// Only the drive type is asked here: no drive, least of all a removable one
// without a medium, is touched before the user opens it.
void FolderDialog::InsertDriveItems() {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string drive{letter, ':'};
        const UINT type = GetDriveTypeA((drive + "\\").c_str());
        if (type != DRIVE_FIXED && type != DRIVE_REMOVABLE) continue;
        HTREEITEM item = m_tree.InsertItem(drive, closedImage, closedImage, TVI_ROOT, TVI_LAST);
        m_tree.InsertItem("", closedImage, closedImage, item, TVI_LAST);
    }
}

void FolderDialog::SelectStartFolder() {
    if (HTREEITEM item = FindPathItem(m_strFolder)) {
        m_tree.SetItemState(item, TVIS_SELECTED, TVIS_SELECTED);
        m_tree.SelectItem(item);
    }
    if (HTREEITEM selected = m_tree.GetSelectedItem()) m_tree.EnsureVisible(selected);
}

// Walks the path's components down the tree, listing and expanding every
// component but the last. A trailing backslash adds no component; two in a
// row give an empty one, which matches nothing.
HTREEITEM FolderDialog::FindPathItem(std::string path) {
    HTREEITEM current = nullptr;
    while (!path.empty()) {
        std::string component;
        if (const std::size_t slash = FindBackslash(path); slash == std::string::npos) {
            component = std::move(path);
            path.clear();
        } else {
            component = path.substr(0, slash);
            path.erase(0, slash + 1);
        }
        current = FindChildItem(current, component, !path.empty());
    }
    return current;
}

HTREEITEM FolderDialog::FindChildItem(HTREEITEM parent, const std::string& name, bool expand) {
    HTREEITEM match = parent ? m_tree.GetChildItem(parent) : m_tree.GetRootItem();
    while (match && (name.empty() || !SameName(ReadItemText(match), name))) match = m_tree.GetNextSiblingItem(match);
    if (!match || !expand) return match;
    if (HTREEITEM first = m_tree.GetChildItem(match); first && IsPlaceholder(first)) {
        m_tree.DeleteItem(first);
        ListSubfolders(match);
    }
    m_tree.Expand(match, TVE_EXPAND);
    return match;
}

std::string FolderDialog::ReadItemText(HTREEITEM item) const {
    std::array<char, itemTextCapacity> text{};
    TVITEMA read{};
    read.mask = TVIF_TEXT | TVIF_HANDLE;
    read.hItem = item;
    read.pszText = text.data();
    read.cchTextMax = static_cast<int>(text.size());
    m_tree.GetItem(read);
    text.back() = '\0';
    return text.data();
}

// No folder name is empty: an empty text marks a not yet listed item.
bool FolderDialog::IsPlaceholder(HTREEITEM item) const { return ReadItemText(item).empty(); }

bool FolderDialog::ListSubfolders(HTREEITEM item) {
    CWaitCursor wait;
    const std::string folder = BuildItemPath(item);
    WIN32_FIND_DATAA entry{};
    UniqueFind search = StartDirectorySearch(folder + "*.*", entry);
    if (!search) {
        // The hourglass stays up until the box is dismissed.
        AppMessageBox("Error Drive: " + folder.substr(0, 2) + "\r\nCorrect and try again", MB_OK);
        return false;
    }
    do {
        if (!IsListableFolder(entry)) continue;
        HTREEITEM child = m_tree.InsertItem(entry.cFileName, closedImage, closedImage, item, TVI_SORT);
        if (HasSubfolders(folder + entry.cFileName))
            m_tree.InsertItem("", closedImage, closedImage, child, TVI_SORT);
    } while (FindNextFileA(search.get(), &entry));
    return true;
}

// A look-ahead that stops at the first listable subfolder; a folder that
// cannot be searched counts as having none.
bool FolderDialog::HasSubfolders(const std::string& folder) {
    WIN32_FIND_DATAA entry{};
    UniqueFind search = StartDirectorySearch(folder + "\\*.*", entry);
    if (!search) return false;
    do {
        if (IsListableFolder(entry)) return true;
    } while (FindNextFileA(search.get(), &entry));
    return false;
}

std::string FolderDialog::BuildItemPath(HTREEITEM item) const {
    std::string path;
    for (; item; item = m_tree.GetParentItem(item)) path = ReadItemText(item) + "\\" + path;
    return path;
}

void FolderDialog::OnItemExpanding(Message& m) {
    const auto* notify = reinterpret_cast<const NMTREEVIEWA*>(m.lParam);
    HTREEITEM item = notify->itemNew.hItem;
    const int image = notify->action == TVE_EXPAND ? openImage : closedImage;
    m_tree.SetItemImage(item, image, image);
    if (HTREEITEM first = m_tree.GetChildItem(item); first && IsPlaceholder(first)) {
        m_tree.DeleteItem(first);
        ListSubfolders(item);
    }
    m.result = 0;
}

void FolderDialog::OnSelChanged(Message& m) {
    const auto* notify = reinterpret_cast<const NMTREEVIEWA*>(m.lParam);
    m_strFolder = BuildItemPath(notify->itemNew.hItem);
    if (HTREEITEM selected = m_tree.GetSelectedItem()) {
        m_staticFolder.SetWindowText(BuildItemPath(selected));
        if (platformKind_ == platformNt) m_editFreeSpace.SetWindowText(FreeSpaceText(m_strFolder));
    }
    m.result = 0;
}
