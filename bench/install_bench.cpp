// Install run benchmark under Wine, not a test. Drives the real setup.exe the
// way the end-to-end tests do and times, from the OK press:
//   first  until the temporary file appears (folders, settings and shell
//          folders done, the first entry being written),
//   files  until it is gone again (every file written),
//   run    until the dialog answers again in its completed state (shortcuts,
//          registry entries and the product's start included);
// and, in the same prefix and alternating with the installs, the copy of the
// same nine expanded files with CopyFileA and with one ReadFile/WriteFile
// per file. Also the installer's peak memory, before OK and after the run.
//   xvfb-run -a scripts/wine-run.sh build/win32/bench/install_bench.exe [runs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bench/wall_clock.h"
#include "payload/install_file_list.h"
#include "robot/robot.h"

namespace {

constexpr char completionPrefix[] = "The program has been successfully installed.";

std::string ShippedFolder() { return robot::WindowsPath(std::string(KVX_BINARY_DIR) + "/product/files"); }

// The label's text, sent for: the answer comes only once the installer's
// thread takes messages again, that is when the run has returned.
std::string LabelText(HWND dialog) {
    std::array<char, 512> text{};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, 1002), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_BLOCK, 60000, &copied);
    return text.data();
}

struct Memory {
    double peakWorkingSetMb = 0, peakPagefileMb = 0;
};

Memory MemoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return {};
    return {counters.PeakWorkingSetSize / 1048576.0, counters.PeakPagefileUsage / 1048576.0};
}

struct InstallFigures {
    double firstMs = -1, filesMs = -1, runMs = -1;
    Memory ready, completed;
};

// Closes the product window the run started and waits until it has gone.
void CloseProduct() {
    HWND window = robot::WaitForClass("KVXSWindow", 10000);
    if (!window) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
}

std::optional<InstallFigures> Install(const std::string& folder) {
    auto program = robot::Start(robot::SetupExePath());
    if (!program) return std::nullopt;
    HWND dialog = nullptr;
    // After the first install the installer asks to reinstall before it shows its dialog.
    robot::WaitUntil([&] {
        if (auto box = robot::WaitForMessageBox(program->pid, 0)) robot::Answer(*box, IDYES);
        dialog = robot::WaitForWindow(program->pid, "Setup Nalvora", 0);
        return dialog != nullptr;
    });
    if (!dialog) return std::nullopt;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program->pid);
    InstallFigures figures;
    figures.ready = MemoryOf(process);

    robot::SetText(dialog, 1001, folder);
    const std::string temporary = folder + "\\KVX\\KVX.tmp";
    const double start = NowMs();
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    // Every file is written when the temporary file, there from the first
    // entry on, is gone again.
    bool seen = false;
    while (NowMs() - start < 60000) {
        bool exists = GetFileAttributesA(temporary.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (exists && !seen) figures.firstMs = NowMs() - start;
        if (exists) seen = true;
        if (seen && !exists) {
            figures.filesMs = NowMs() - start;
            break;
        }
        Sleep(1);
    }
    while (LabelText(dialog).rfind(completionPrefix, 0) != 0 && NowMs() - start < 60000) Sleep(1);
    figures.runMs = NowMs() - start;
    figures.completed = MemoryOf(process);
    if (process) CloseHandle(process);

    CloseProduct();
    robot::Click(dialog, IDOK);
    robot::WaitForExit(*program, 10000);
    return figures;
}

bool MakeFolders(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\dalmont").c_str(), nullptr);
    return GetFileAttributesA((folder + "\\dalmont").c_str()) != INVALID_FILE_ATTRIBUTES;
}

double CopyWithCopyFile(const std::string& folder) {
    MakeFolders(folder);
    const std::string from = ShippedFolder();
    const double start = NowMs();
    for (std::string_view listed : InstallFileList) {
        const std::string name(listed);
        CopyFileA((from + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE);
    }
    return NowMs() - start;
}

// One read and one write per file through a buffer of the installer's size,
// as the plainest copy a program of its kind would make.
double CopyWithReadWrite(const std::string& folder, std::vector<char>& buffer) {
    MakeFolders(folder);
    const std::string from = ShippedFolder();
    const double start = NowMs();
    for (std::string_view listed : InstallFileList) {
        const std::string name(listed);
        HANDLE in = CreateFileA((from + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        HANDLE out = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD got = 0, written = 0;
        ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
        WriteFile(out, buffer.data(), got, &written, nullptr);
        CloseHandle(out);
        CloseHandle(in);
    }
    return NowMs() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<char> buffer(2'400'000);
    double bytes = 0;
    for (std::string_view listed : InstallFileList) {
        const std::string name(listed);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExA((ShippedFolder() + "\\" + name).c_str(), GetFileExInfoStandard, &data))
            bytes += data.nFileSizeLow;
    }

    // One of each first, untimed, so that no figure pays for a cold start.
    CopyWithCopyFile("C:\\WarmCopy");
    if (!Install("C:\\Warm")) {
        std::fprintf(stderr, "install_bench: the installer did not run\n");
        return 1;
    }
    std::vector<double> first, files, run, copyFile, readWrite;
    InstallFigures last;
    for (int i = 0; i < runs; ++i) {
        auto figures = Install("C:\\Bench" + std::to_string(i));
        if (!figures || figures->filesMs < 0) {
            std::fprintf(stderr, "install_bench: run %d did not complete\n", i);
            return 1;
        }
        first.push_back(figures->firstMs);
        files.push_back(figures->filesMs);
        run.push_back(figures->runMs);
        last = *figures;
        copyFile.push_back(CopyWithCopyFile("C:\\CopyFile" + std::to_string(i)));
        readWrite.push_back(CopyWithReadWrite("C:\\ReadWrite" + std::to_string(i), buffer));
    }

    const double copy = std::min(Median(copyFile), Median(readWrite));
    std::printf("nine files, %.2f MB expanded; median of %d runs, wall clock under Wine\n", bytes / 1e6, runs);
    std::printf("%-52s %9.1f ms\n", "install: OK to the first entry (KVX.tmp appears)", Median(first));
    std::printf("%-52s %9.1f ms\n", "install: OK to every file written (KVX.tmp gone)", Median(files));
    std::printf("%-52s %9.1f ms\n", "install: OK to completed state (run returned)", Median(run));
    std::printf("%-52s %9.1f ms\n", "copy: CopyFileA per file", Median(copyFile));
    std::printf("%-52s %9.1f ms\n", "copy: one ReadFile/WriteFile per file", Median(readWrite));
    std::printf("%-52s %9.2f\n", "ratio files written / faster copy", Median(files) / copy);
    std::printf("%-52s %9.2f\n", "ratio completed state / faster copy", Median(run) / copy);
    std::printf("%-52s %9.1f MB\n", "installer peak working set, Ready", last.ready.peakWorkingSetMb);
    std::printf("%-52s %9.1f MB\n", "installer peak working set, after the run", last.completed.peakWorkingSetMb);
    std::printf("%-52s %9.1f MB\n", "installer peak pagefile usage, Ready", last.ready.peakPagefileMb);
    std::printf("%-52s %9.1f MB\n", "installer peak pagefile usage, after the run", last.completed.peakPagefileMb);
    return 0;
}
