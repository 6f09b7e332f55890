#include "framework/file.h"

#include <algorithm>
#include <limits>

#include "framework/message_box.h"

namespace {
std::uint64_t writeBudget = std::numeric_limits<std::uint64_t>::max();

std::string SystemText(DWORD error) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result(text ? text : "", length);
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}
}  // namespace

void SetWriteLimitForTesting(std::uint64_t bytes) { writeBudget = bytes; }

std::string FileErrorText(const CFileException& error) {
    if (error.Error() == ERROR_DISK_FULL || error.Error() == ERROR_HANDLE_DISK_FULL)
        return "Disk full while accessing " + error.Path() + ".";
    std::string reason = SystemText(error.Error());
    if (reason.empty()) reason = "Error " + std::to_string(error.Error()) + ".";
    return "An error occurred while accessing " + error.Path() + ".\r\n" + reason;
}

void ReportFileError(const CFileException& error) { AppMessageBox(FileErrorText(error), MB_OK | MB_ICONSTOP); }

bool CFile::OpenForWriting(const std::string& path) {
    path_ = path;
    handle_.reset(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle_.valid();
}

void CFile::Write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (writeBudget < chunk) chunk = static_cast<DWORD>(writeBudget);
        DWORD written = 0;
        if (chunk == 0) throw CFileException(ERROR_DISK_FULL, path_);
        if (!WriteFile(handle_.get(), bytes.data() + done, chunk, &written, nullptr))
            throw CFileException(GetLastError(), path_);
        if (written == 0) throw CFileException(ERROR_DISK_FULL, path_);
        if (writeBudget != std::numeric_limits<std::uint64_t>::max()) writeBudget -= written;
        done += written;
    }
}

bool CFile::GetTimes(FILETIME& creation, FILETIME& access, FILETIME& write) const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle_.get(), &info)) return false;
    creation = info.ftCreationTime;
    access = info.ftLastAccessTime;
    write = info.ftLastWriteTime;
    return true;
}

void CFile::Close() {
    HANDLE handle = handle_.release();
    if (handle != INVALID_HANDLE_VALUE && !CloseHandle(handle)) throw CFileException(GetLastError(), path_);
}
