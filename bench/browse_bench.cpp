// Folder browser benchmark under Wine, not a test: opening the browser on a
// start folder six levels deep, and expanding folders with 5,000 subfolders.
// Prints wall times (median of several runs) and the directory searches made.
//   xvfb-run -a scripts/wine-run.sh build/win32/browse/browse_bench.exe
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/wall_clock.h"
#include "wine/driven_folder_dialog.h"
#include "browse/folder_dialog.h"
#include "browse/search_count.h"

namespace {

constexpr int runs = 5;

void MakeFolder(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

// Six levels, each beside 20 siblings that hold one subfolder apiece, so
// every look-ahead on the way finds something.
std::string MakeDeepTree() {
    std::string path = "D:";
    for (int level = 1; level <= 6; ++level) {
        for (int sibling = 0; sibling < 20; ++sibling) {
            const std::string name = path + "\\Sibling" + std::to_string(sibling);
            MakeFolder(name);
            MakeFolder(name + "\\Sub");
        }
        path += "\\Level" + std::to_string(level);
        MakeFolder(path);
    }
    return path + "\\";
}

void MakeWideFolder(const std::string& path, int count, bool withSubfolders) {
    MakeFolder(path);
    for (int i = 0; i < count; ++i) {
        const std::string name = path + "\\Folder" + std::to_string(i);
        MakeFolder(name);
        if (withSubfolders) MakeFolder(name + "\\Sub");
    }
}

void BenchOpen(const std::string& start) {
    std::vector<double> times;
    long searches = 0;
    for (int run = 0; run < runs; ++run) {
        double opened = 0;
        DrivenFolderDialog dialog(2, [&](DrivenFolderDialog& d) {
            opened = NowMs();
            searches = DirectorySearchCount();
            d.Click(IDCANCEL);
        });
        dialog.m_strFolder = start;
        ResetDirectorySearchCount();
        const double begin = NowMs();
        dialog.DoModal();
        times.push_back(opened - begin);
    }
    std::printf("open on %s: %.1f ms (median of %d), %ld directory searches\n", start.c_str(), Median(times), runs,
                searches);
}

void BenchExpand(const std::string& folder, const char* what) {
    std::vector<double> times, again;
    long searches = 0;
    for (int run = 0; run < runs; ++run) {
        DrivenFolderDialog dialog(2, [&](DrivenFolderDialog& d) {
            HWND tree = d.Tree();
            auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
            ResetDirectorySearchCount();
            const double begin = NowMs();
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
            times.push_back(NowMs() - begin);
            searches = DirectorySearchCount();
            // Collapsed and opened again by the user: the tree's own work, no listing.
            SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
            const double reopen = NowMs();
            SendMessageA(tree, WM_KEYDOWN, VK_ADD, 0);
            again.push_back(NowMs() - reopen);
            d.Click(IDCANCEL);
        });
        dialog.m_strFolder = folder;
        dialog.DoModal();
    }
    std::printf("expand %s (%s): %.1f ms (median of %d), %ld directory searches; expanding it again: %.1f ms\n",
                folder.c_str(), what, Median(times), runs, searches, Median(again));
}

// The two parts of an expansion measured apart: one look-ahead search per
// subfolder, and the tree control's sorted insertion of the names.
void BenchParts(const std::string& folder, int count) {
    double begin = NowMs();
    for (int i = 0; i < count; ++i) {
        WIN32_FIND_DATAA entry{};
        HANDLE search = FindFirstFileA((folder + "\\Folder" + std::to_string(i) + "\\*.*").c_str(), &entry);
        while (search != INVALID_HANDLE_VALUE && FindNextFileA(search, &entry)) {
        }
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
    std::printf("  %d look-ahead searches alone: %.1f ms\n", count, NowMs() - begin);
    HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    // Under a collapsed item, as a listing inserts them before the tree expands.
    TVINSERTSTRUCTA top{};
    top.hParent = TVI_ROOT;
    top.hInsertAfter = TVI_LAST;
    top.item.mask = TVIF_TEXT;
    top.item.pszText = const_cast<char*>("D:");
    auto parent = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&top)));
    begin = NowMs();
    for (int i = 0; i < count; ++i) {
        const std::string name = "Folder" + std::to_string((i * 7919) % count);
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_SORT;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(name.c_str());
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    }
    std::printf("  %d sorted insertions alone: %.1f ms\n", count, NowMs() - begin);
    DestroyWindow(tree);
}

}  // namespace

int main() {
    InitCommonControls();
    const std::string deep = MakeDeepTree();
    MakeWideFolder("D:\\Wide", 5000, false);
    MakeWideFolder("D:\\WideNested", 5000, true);
    BenchOpen(deep);
    BenchExpand("D:\\Wide\\", "5,000 empty subfolders");
    BenchExpand("D:\\WideNested\\", "5,000 subfolders with one subfolder each");
    BenchParts("D:\\WideNested", 5000);
    return 0;
}
