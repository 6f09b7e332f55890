#include "payload/lz_file.h"

#include <vector>

#include "payload/szdd.h"

LzFile::LzFile(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr)) {}

std::int32_t LzFile::Read(std::span<std::uint8_t> buffer) {
    if (!file_) return LzErrorBadInHandle;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size)) return LzErrorBadInHandle;
    // A sound stream never takes more than 9 bytes for 8 output bytes. A file
    // larger than that for the whole buffer is judged by its header alone,
    // so nothing unreasonable is read into memory.
    auto limit = static_cast<LONGLONG>(SzddHeaderSize + (buffer.size() + 7) / 8 * 9);
    if (size.QuadPart > limit) {
        std::vector<std::uint8_t> header(SzddHeaderSize);
        DWORD got = 0;
        if (!ReadFile(file_.get(), header.data(), static_cast<DWORD>(header.size()), &got, nullptr)) return LzErrorBadInHandle;
        auto length = SzddExpandedLength(std::span(header).first(got));
        return length && *length > buffer.size() ? LzErrorBadValue : LzErrorRead;
    }
    std::vector<std::uint8_t> compressed(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!compressed.empty() &&
        (!ReadFile(file_.get(), compressed.data(), static_cast<DWORD>(compressed.size()), &got, nullptr) ||
         got != compressed.size()))
        return LzErrorBadInHandle;
    return ExpandSzdd(compressed, buffer);
}
