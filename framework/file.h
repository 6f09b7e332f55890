#pragma once
// Files for the install run. Opening reports failure by result (the caller
// chooses its message from the error code); a failed write or close throws
// CFileException, which the dialog framework reports in a stop-icon message
// box naming the file.
#include <windows.h>

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "framework/handle.h"

class CFileException : public std::runtime_error {
public:
    CFileException(DWORD error, std::string path)
        : std::runtime_error("file error"), error_(error), path_(std::move(path)) {}
    [[nodiscard]] DWORD Error() const { return error_; }
    [[nodiscard]] const std::string& Path() const { return path_; }

private:
    DWORD error_;
    std::string path_;
};

// The text of the report: the platform's message for the error, naming the file.
std::string FileErrorText(const CFileException& error);
void ReportFileError(const CFileException& error);

class CFile {
public:
    CFile() = default;

    // Created or truncated, write access only, not shared. On failure returns
    // false and leaves the system error code for the caller.
    [[nodiscard]] bool OpenForWriting(const std::string& path);
    // Throws CFileException on a failed write, and on a short one as a full disk.
    void Write(std::span<const std::uint8_t> bytes);
    // Times read through the open file; false when they could not be read.
    [[nodiscard]] bool GetTimes(FILETIME& creation, FILETIME& access, FILETIME& write) const;
    // Throws CFileException when the close fails.
    void Close();

    [[nodiscard]] const std::string& Path() const { return path_; }

private:
    UniqueFile handle_;
    std::string path_;
};

// The test build of the installer plays a full disk through this seam: a
// write that stores no more than this many bytes in all, then reports a full
// disk. Unlimited in the product.
void SetWriteLimitForTesting(std::uint64_t bytes);
