// The folder browser on a real folder tree made on D: (empty in a fresh
// prefix). Each case runs the dialog modally and drives it from inside its
// own message loop; the directory searches are counted by the test build.
#include "browse/folder_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "browse/free_space.h"
#include "wine/driven_folder_dialog.h"
#include "browse/search_count.h"
#include "framework/app.h"
#include "framework/wait_cursor.h"

namespace {

constexpr int pathId = 1028, freeSpaceId = 1001;

struct BrowseRun {
    INT_PTR result = 0;
    std::string folder;
};

BrowseRun Browse(const std::string& start, const std::function<void(DrivenFolderDialog&)>& script, int platformKind = 2) {
    InitCommonControls();
    DrivenFolderDialog dialog(platformKind, script);
    dialog.m_strFolder = start;
    ResetDirectorySearchCount();
    const INT_PTR result = dialog.DoModal();
    return {result, dialog.m_strFolder};
}

// --- reading the tree as the user sees it -----------------------------------

std::string ItemText(HWND tree, HTREEITEM item) {
    char text[260] = "garbage";
    TVITEMA read{};
    read.mask = TVIF_TEXT | TVIF_HANDLE;
    read.hItem = item;
    read.pszText = text;
    read.cchTextMax = sizeof text;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read))) return "<no item>";
    return text;
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

std::vector<std::string> Children(HWND tree, HTREEITEM parent) {
    std::vector<std::string> names;
    HTREEITEM child = parent ? Next(tree, parent, TVGN_CHILD) : Next(tree, nullptr, TVGN_ROOT);
    for (; child; child = Next(tree, child, TVGN_NEXT)) names.push_back(ItemText(tree, child));
    return names;
}

// The item at a path of item texts ({"D:", "Tree"}), or null.
HTREEITEM Item(HWND tree, const std::vector<std::string>& path) {
    HTREEITEM item = nullptr;
    for (const std::string& name : path) {
        HTREEITEM child = item ? Next(tree, item, TVGN_CHILD) : Next(tree, nullptr, TVGN_ROOT);
        while (child && ItemText(tree, child) != name) child = Next(tree, child, TVGN_NEXT);
        if (!child) return nullptr;
        item = child;
    }
    return item;
}

struct ItemLook {
    int image = -1;
    int selectedImage = -1;
    bool expanded = false;
    bool selected = false;
};

ItemLook Look(HWND tree, HTREEITEM item) {
    TVITEMA read{};
    read.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    read.hItem = item;
    read.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read));
    return {read.iImage, read.iSelectedImage, (read.state & TVIS_EXPANDED) != 0, (read.state & TVIS_SELECTED) != 0};
}

std::string ControlText(HWND dialog, int id) {
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// --- the folder tree ---------------------------------------------------------

void MakeFolder(const std::string& path, DWORD attributes = 0) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    if (attributes) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
        ASSERT_EQ(GetFileAttributesA(path.c_str()) & attributes, attributes) << path << ": attribute not kept";
    }
}

void MakeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
}

// D:\Tree holds one of each kind of entry, created out of order and in mixed case.
void MakeTree() {
    MakeFolder("D:\\Tree");
    for (const char* name : {"gamma", "Alpha", "delta", "Beta"}) MakeFolder(std::string("D:\\Tree\\") + name);
    MakeFolder("D:\\Tree\\Hidden", FILE_ATTRIBUTE_HIDDEN);
    MakeFolder("D:\\Tree\\System", FILE_ATTRIBUTE_SYSTEM);
    MakeFile("D:\\Tree\\file.txt");
    MakeFolder("D:\\Tree\\OnlyFiles");
    MakeFile("D:\\Tree\\OnlyFiles\\a.txt");
    MakeFolder("D:\\Tree\\OnlySystem");
    MakeFolder("D:\\Tree\\OnlySystem\\Sys", FILE_ATTRIBUTE_SYSTEM);
    MakeFolder("D:\\Tree\\Beta\\Inner");
    MakeFolder("D:\\Tree\\Beta\\Inner\\Deep");
}

// Listed children of D:\Tree: sorted, hidden included, system folders, files,
// "." and ".." left out.
const std::vector<std::string> treeChildren = {"Alpha", "Beta", "delta", "gamma", "Hidden", "OnlyFiles", "OnlySystem"};

}  // namespace

TEST(FolderDialog, OpensOnTheStartFolderListingOnlyTheFoldersOnItsWay) {
    MakeTree();
    long searchesAtOpen = -1;
    const BrowseRun run = Browse("D:\\Tree\\Beta\\", [&](DrivenFolderDialog& d) {
        searchesAtOpen = DirectorySearchCount();
        HWND tree = d.Tree();
        char caption[64] = "";
        GetWindowTextA(d.Window(), caption, sizeof caption);
        EXPECT_STREQ(caption, "Setup Folder");
        const LONG style = GetWindowLongA(tree, GWL_STYLE);
        EXPECT_EQ(style & (TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT),
                  TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
        // Fixed drives only: C:, D: and Wine's Z:; not the CD-ROM E: nor the network drive N:.
        EXPECT_EQ(Children(tree, nullptr), (std::vector<std::string>{"C:", "D:", "Z:"}));
        EXPECT_EQ(Children(tree, Item(tree, {"C:"})), std::vector<std::string>{""}) << "C: stays unlisted";
        EXPECT_EQ(Children(tree, Item(tree, {"D:"})), std::vector<std::string>{"Tree"});
        EXPECT_EQ(Children(tree, Item(tree, {"D:", "Tree"})), treeChildren);
        // Placeholders only where a listable subfolder exists.
        EXPECT_EQ(Children(tree, Item(tree, {"D:", "Tree", "Beta"})), std::vector<std::string>{""});
        for (const char* empty : {"Alpha", "OnlyFiles", "OnlySystem"})
            EXPECT_TRUE(Children(tree, Item(tree, {"D:", "Tree", empty})).empty()) << empty;

        for (const auto& open : {std::vector<std::string>{"D:"}, std::vector<std::string>{"D:", "Tree"}}) {
            const ItemLook look = Look(tree, Item(tree, open));
            EXPECT_TRUE(look.expanded) << open.back();
            EXPECT_EQ(look.image, 1) << open.back();
            EXPECT_EQ(look.selectedImage, 1) << open.back();
        }
        const ItemLook beta = Look(tree, Item(tree, {"D:", "Tree", "Beta"}));
        EXPECT_TRUE(beta.selected);
        EXPECT_FALSE(beta.expanded);
        EXPECT_EQ(beta.image, 0);
        EXPECT_EQ(Next(tree, nullptr, TVGN_CARET), Item(tree, {"D:", "Tree", "Beta"}));
        EXPECT_EQ(ControlText(d.Window(), pathId), "D:\\Tree\\Beta\\");
        EXPECT_EQ(ControlText(d.Window(), freeSpaceId), FreeSpaceText("D:\\"));
        EXPECT_NE(ControlText(d.Window(), freeSpaceId), "");
        d.Click(IDOK);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.folder, "D:\\Tree\\Beta\\");
    // D: and Tree listed once each, one look-ahead per folder listed (Tree, then the seven).
    EXPECT_EQ(searchesAtOpen, 2 + 1 + 7);
}

TEST(FolderDialog, StartFolderLookupFollowsTheTreeNotTheTypedSpelling) {
    MakeTree();
    // When the dialog selects nothing, Wine's tree view selects its first
    // visible item (C:) by itself as it gets the focus, and that selection
    // replaces the start folder like any other.
    const std::string treeOwnChoice = "C:\\";
    struct Case {
        std::string start;
        std::string selected;  // control 1028 once the dialog is open
        long searches;
        std::vector<std::string> expanded;  // item texts from the top, each expanded on the way
    };
    const Case cases[] = {
        {"d:\\TREE\\beta", "D:\\Tree\\Beta\\", 10, {"D:", "Tree"}},  // the tree's spelling comes back
        {"D:\\Tree\\Missing\\", treeOwnChoice, 10, {"D:", "Tree"}},
        {"D:\\Tree\\\\Beta\\", treeOwnChoice, 10, {"D:", "Tree"}},  // a doubled backslash matches nothing
        {"D:\\Tree\\Beta\\Inner\\Deep", "D:\\Tree\\Beta\\Inner\\Deep\\", 10 + 2 + 2, {"D:", "Tree", "Beta", "Inner"}},
        {"D:\\", "D:\\", 0, {}},
        {"D:", "D:\\", 0, {}},
        {"E:\\Setup\\", treeOwnChoice, 0, {}},  // CD-ROM: no item, nothing read
        {"N:\\Shared\\", treeOwnChoice, 0, {}},  // network drive
        {"", treeOwnChoice, 0, {}},
    };
    for (const Case& c : cases) {
        long searches = -1;
        const BrowseRun run = Browse(c.start, [&](DrivenFolderDialog& d) {
            searches = DirectorySearchCount();
            EXPECT_EQ(ControlText(d.Window(), pathId), c.selected) << c.start;
            std::vector<std::string> path;
            for (const std::string& name : c.expanded) {
                path.push_back(name);
                EXPECT_TRUE(Look(d.Tree(), Item(d.Tree(), path)).expanded) << c.start << " " << name;
            }
            d.Click(IDOK);
        });
        EXPECT_EQ(run.result, IDOK) << c.start;
        EXPECT_EQ(run.folder, c.selected) << c.start;
        EXPECT_EQ(searches, c.searches) << c.start;
    }
}

TEST(FolderDialog, CollapsingAndExpandingAgainSearchesNothing) {
    MakeTree();
    Browse("D:\\Tree\\Alpha\\", [&](DrivenFolderDialog& d) {
        HWND tree = d.Tree();
        HTREEITEM folder = Item(tree, {"D:", "Tree"});
        const long before = DirectorySearchCount();
        // As the user does it: the keyboard on the selected item.
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folder));
        SendMessageA(tree, WM_KEYDOWN, VK_SUBTRACT, 0);
        ItemLook look = Look(tree, folder);
        EXPECT_FALSE(look.expanded);
        EXPECT_EQ(look.image, 0);
        EXPECT_EQ(look.selectedImage, 0);
        EXPECT_EQ(Children(tree, folder), treeChildren);
        SendMessageA(tree, WM_KEYDOWN, VK_ADD, 0);
        look = Look(tree, folder);
        EXPECT_TRUE(look.expanded);
        EXPECT_EQ(look.image, 1);
        EXPECT_EQ(Children(tree, folder), treeChildren);
        EXPECT_EQ(DirectorySearchCount(), before);
        // A first expansion lists one level: Beta and one look-ahead for Inner.
        HTREEITEM beta = Item(tree, {"D:", "Tree", "Beta"});
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(beta));
        SendMessageA(tree, WM_KEYDOWN, VK_ADD, 0);
        EXPECT_EQ(Children(tree, beta), std::vector<std::string>{"Inner"});
        EXPECT_EQ(Children(tree, Item(tree, {"D:", "Tree", "Beta", "Inner"})), std::vector<std::string>{""});
        EXPECT_EQ(DirectorySearchCount(), before + 2);
        d.Click(IDCANCEL);
    });
}

TEST(FolderDialog, FreeSpaceIsShownOnTheNtFamilyOnly) {
    for (const int platformKind : {1, 2}) {
        const BrowseRun run = Browse("C:\\windows\\", [&](DrivenFolderDialog& d) {
            EXPECT_EQ(ControlText(d.Window(), pathId), "C:\\windows\\");
            EXPECT_EQ(ControlText(d.Window(), freeSpaceId), platformKind == 2 ? FreeSpaceText("C:\\") : "");
            d.Click(IDCANCEL);
        }, platformKind);
        EXPECT_EQ(run.result, IDCANCEL);
    }
}

namespace {

// What the test saw of the message box shown while a listing failed.
struct BoxSeen {
    HWND dialog = nullptr;
    bool seen = false;
    std::string title;
    std::string text;
    HWND owner = nullptr;
    int waitCursors = 0;
};
BoxSeen boxSeen;

BOOL CALLBACK AnswerBox(HWND window, LPARAM) {
    char windowClass[16] = "";
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (window == boxSeen.dialog || std::string(windowClass) != "#32770" || !IsWindowVisible(window)) return TRUE;
    char title[64] = "", text[128] = "";
    GetWindowTextA(window, title, sizeof title);
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    boxSeen = {boxSeen.dialog, true, title, text, GetWindow(window, GW_OWNER), CWaitCursor::Count()};
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return FALSE;
}

// Runs inside the message box's own modal loop.
void CALLBACK LookForBox(HWND, UINT, UINT_PTR, DWORD) {
    if (!boxSeen.seen) EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0);
}

}  // namespace

TEST(FolderDialog, FolderThatCannotBeListedNamesItsDriveInAnErrorBoxAndStaysWithoutChildren) {
    // Like a removable drive without its medium: the item was given an expand
    // button, but by the time the user opens it its search cannot start.
    MakeTree();
    boxSeen = {};
    Browse("D:\\Tree\\Beta\\", [&](DrivenFolderDialog& d) {
        HWND tree = d.Tree();
        SendMessageA(tree, WM_KEYDOWN, VK_ADD, 0);  // on Beta, the selected item
        HTREEITEM inner = Item(tree, {"D:", "Tree", "Beta", "Inner"});
        ASSERT_NE(inner, nullptr);
        ASSERT_EQ(Children(tree, inner), std::vector<std::string>{""});
        ASSERT_TRUE(RemoveDirectoryA("D:\\Tree\\Beta\\Inner\\Deep"));
        ASSERT_TRUE(RemoveDirectoryA("D:\\Tree\\Beta\\Inner"));

        boxSeen.dialog = d.Window();
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookForBox);
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(inner));
        SendMessageA(tree, WM_KEYDOWN, VK_ADD, 0);
        KillTimer(nullptr, timer);
        EXPECT_TRUE(boxSeen.seen);
        EXPECT_EQ(boxSeen.text, "Error Drive: D:\r\nCorrect and try again");
        EXPECT_EQ(boxSeen.title, ApplicationDisplayName());
        EXPECT_EQ(boxSeen.owner, d.Window());
        EXPECT_EQ(boxSeen.waitCursors, 1) << "the hourglass stays up while the box is shown";
        EXPECT_EQ(CWaitCursor::Count(), 0);

        // Listed with nothing: no children, the open image kept, never searched again.
        EXPECT_TRUE(Children(tree, inner).empty());
        EXPECT_EQ(Look(tree, inner).image, 1);
        const long searches = DirectorySearchCount();
        SendMessageA(tree, WM_KEYDOWN, VK_SUBTRACT, 0);
        SendMessageA(tree, WM_KEYDOWN, VK_ADD, 0);
        EXPECT_EQ(DirectorySearchCount(), searches);
        EXPECT_EQ(ControlText(d.Window(), pathId), "D:\\Tree\\Beta\\Inner\\");
        d.Click(IDOK);
    });
}

// Under the Japanese ANSI code page a double-byte character may end in the
// byte of a backslash or of a letter; neither splits nor folds a name.
TEST(FolderDialogCp932, DoubleByteNamesAreWalkedWhole) {
    if (GetACP() != 932) GTEST_SKIP() << "needs the ANSI code page 932";
    const std::string table = "\x95\x5C\x8E\xA6";  // two characters, the first ending in 0x5C
    const std::string a = "\x83\x41", chi = "\x83\x61";  // differ only in a trail byte 'A' / 'a'
    MakeFolder("D:\\" + table);
    MakeFolder("D:\\" + table + "\\" + a);
    struct Case {
        std::string start;
        std::string selected;
    };
    const Case cases[] = {
        {"D:\\" + table + "\\" + a + "\\", "D:\\" + table + "\\" + a + "\\"},
        {"d:\\" + table + "\\" + a, "D:\\" + table + "\\" + a + "\\"},
        {"D:\\" + table + "\\" + chi + "\\", "C:\\"},  // not found: Wine's tree picks its first item
    };
    for (const Case& c : cases) {
        const BrowseRun run = Browse(c.start, [&](DrivenFolderDialog& d) {
            EXPECT_TRUE(Look(d.Tree(), Item(d.Tree(), {"D:", table})).expanded) << c.start;
            d.Click(IDOK);
        });
        EXPECT_EQ(run.folder, c.selected) << c.start;
    }
}
