#include "tools/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

std::runtime_error FileError(const std::string& what, const std::filesystem::path& path, int err) {
    return std::runtime_error(what + " " + path.string() + ": " + std::strerror(err));
}

// A temporary file that removes itself unless it was renamed into place.
class TempFile {
public:
    explicit TempFile(const std::filesystem::path& target) {
        const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
        std::string hidden = ".";
        hidden += target.filename().string();
        hidden += ".XXXXXX";
        name_ = (folder / hidden).string();
        fd_ = mkstemp(name_.data());
        if (fd_ < 0) throw FileError("cannot create a file beside", target, errno);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (fd_ >= 0) close(fd_);
        if (!committed_) unlink(name_.c_str());
    }

    void Write(std::span<const std::uint8_t> bytes, const std::filesystem::path& target) {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) throw FileError("cannot write", target, n < 0 ? errno : ENOSPC);
            done += static_cast<std::size_t>(n);
        }
    }

    void Commit(const std::filesystem::path& target) {
        const mode_t mask = umask(0);
        umask(mask);
        if (fchmod(fd_, 0666 & ~mask) != 0 || fsync(fd_) != 0) throw FileError("cannot write", target, errno);
        const int fd = std::exchange(fd_, -1);
        if (close(fd) != 0) throw FileError("cannot write", target, errno);
        if (rename(name_.c_str(), target.c_str()) != 0) throw FileError("cannot write", target, errno);
        committed_ = true;
    }

private:
    std::string name_;
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw std::runtime_error("cannot read " + path.string() + ": is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError("cannot open", path, errno);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileError("cannot read", path, errno);
    return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    TempFile temp(path);
    temp.Write(bytes, path);
    temp.Commit(path);
}
