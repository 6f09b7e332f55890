#include "payload/install_run.h"

#include <windows.h>

#include <cstdint>
#include <span>

#include "framework/com.h"
#include "framework/file.h"
#include "framework/handle.h"
#include "framework/message_box.h"
#include "payload/folder_helpers.h"
#include "payload/install_file_list.h"
#include "payload/lz_file.h"
#include "payload/payload_format.h"
#include "res/resource.h"
#include "system/launch.h"
#include "system/registry.h"
#include "system/shell_folders.h"
#include "system/shortcut.h"

namespace {

constexpr char cannotCreate[] = "Cannot create directory: ";
constexpr char installError[] = "Error in installing";
constexpr char corruptFile[] = "\r\nCorrupt file";
constexpr char sampleQuestion[] = "\r\n\r\nSample file already exists.\r\nReplace?";

bool ShowError(const std::string& text) {
    AppMessageBox(text, MB_OK);
    return false;
}

// The folder must name a fixed or removable drive and exist afterwards.
bool CheckInstallFolder(const std::string& folder) {
    bool ok = folder.size() >= 2 && folder[1] == ':';
    if (ok) {
        UINT type = GetDriveTypeA((folder.substr(0, 2) + "\\").c_str());
        ok = type == DRIVE_FIXED || type == DRIVE_REMOVABLE;
    }
    if (ok && folder.size() > 2) ok = CreateFolderPath(folder) != 0;
    return ok || ShowError(cannotCreate + folder);
}

// One level, whose parent exists; a folder already there counts as made.
bool CreateOneFolder(const std::string& folder) {
    if (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
    return ShowError(cannotCreate + folder);
}

std::span<const std::uint8_t> LocatePayload() {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_PAYLOAD), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(nullptr, found)};
}

// 12 January 2003, 08:00:00 local time, with daylight saving as the time zone
// rules give for that date.
bool InstallTime(FILETIME& time) {
    SYSTEMTIME local{2003, 1, 0, 12, 8, 0, 0, 0};
    SYSTEMTIME universal{};
    return TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) && SystemTimeToFileTime(&universal, &time);
}

void StampFile(const std::string& path, const FILETIME& time) {
    UniqueFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) SetFileTime(file.get(), &time, &time, &time);
}

struct Target {
    std::string productFolder;
    std::string temporary;
    FILETIME installTime{};
    bool haveInstallTime = false;
};

// Writes the entry's SZDD file to the temporary file and expands it into
// buffer. Gives the count, or stops the run with its message (false).
bool ExpandEntry(const Target& target, std::span<const std::uint8_t> payload, PayloadEntry entry,
                 std::span<std::uint8_t> buffer, std::int32_t& count) {
    CFile temporary;
    if (!temporary.OpenForWriting(target.temporary)) {
        DWORD error = GetLastError();
        return ShowError(error == ERROR_DISK_FULL ? "No space on disk"
                         : error == ERROR_BAD_PATHNAME ? "Invalid Path" : "File Error");
    }
    static constexpr std::uint8_t szdd[] = {'S', 'Z', 'D', 'D'};
    temporary.Write(szdd);
    temporary.Write(payload.subspan(entry.body, entry.length));
    temporary.Close();
    count = LzFile(target.temporary).Read(buffer);
    if (count > 0) return true;
    return ShowError(std::string(installError) + (count == LzErrorRead ? corruptFile : ""));
}

// Writes the expanded bytes to the entry's destination. False stops the run.
bool WriteEntry(const Target& target, std::size_t index, std::span<const std::uint8_t> bytes) {
    std::string name(InstallFileList[index]);
    std::string destination = target.productFolder + "\\" + name;
    bool sample = index >= ProgramFileCount;
    if (sample && FileHasContent(destination) && AppMessageBox(name + sampleQuestion, MB_YESNO) != IDYES)
        return true;
    CFile file;
    if (!file.OpenForWriting(destination)) return ShowError(installError);
    file.Write(bytes);
    FILETIME created{}, accessed{}, written{};
    bool haveStatus = file.GetTimes(created, accessed, written);
    file.Close();
    if (!sample && haveStatus && target.haveInstallTime) StampFile(destination, target.installTime);
    return true;
}

// Expands every entry into place. False when the run stopped.
bool InstallFiles(Target& target) {
    std::span<const std::uint8_t> payload = LocatePayload();
    UniqueGlobal memory(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, ExpansionBufferSize));
    if (payload.empty() || !memory) return ShowError(installError);
    std::span<std::uint8_t> buffer(static_cast<std::uint8_t*>(memory.get()), ExpansionBufferSize);
    target.haveInstallTime = InstallTime(target.installTime);
    std::size_t position = 0;
    for (std::size_t index = 0; index < InstallFileList.size(); ++index) {
        bool damaged = false;
        auto entry = NextPayloadEntry(payload, position, damaged);
        if (damaged) return ShowError(std::string(installError) + corruptFile);
        if (!entry) break;
        position = PayloadEntryEnd(*entry);
        std::int32_t count = 0;
        if (!ExpandEntry(target, payload, *entry, buffer, count)) return false;
        if (!WriteEntry(target, index, buffer.first(static_cast<std::size_t>(count)))) return false;
    }
    return true;
}

}  // namespace

void InstallRun(InstallDialog& dialog) {
    if (dialog.Completed()) {
        dialog.Close();
        return;
    }
    std::string installFolder = dialog.FolderText();
    if (!installFolder.empty() && installFolder.back() == '\\') installFolder.pop_back();
    if (!CheckInstallFolder(installFolder)) return;
    Target target;
    target.productFolder = installFolder + "\\KVX";
    target.temporary = target.productFolder + "\\KVX.tmp";
    if (!CreateOneFolder(target.productFolder) || !CreateOneFolder(target.productFolder + "\\dalmont")) return;
    WriteSetting("Settings", "Default Folder", target.productFolder);
    ShellFolders shellFolders = ReadShellFolders();
    if (!InstallFiles(target)) return;
    DeleteFileA(target.temporary.c_str());
    dialog.ShowCompletedState();
    {
        ComApartment com;
        CreateProductShortcuts(target.productFolder, shellFolders);
        dialog.SetInstallFolder(target.productFolder);
        WriteAppPathEntry(target.productFolder);
        WriteUninstallEntry(target.productFolder);
    }
    LaunchProduct(target.productFolder);
    dialog.SetCompleted();
}
