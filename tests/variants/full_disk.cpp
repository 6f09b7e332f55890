// The full-disk build: the disk fills up 100 bytes into KVX.exe, the first
// file written after the temporary file of its entry. The limit follows the
// packed size of that entry, so the build keeps working when KVX.exe changes.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "framework/file.h"
#include "res/resource.h"

namespace {

std::uint64_t TemporaryFileOfFirstEntry() {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_PAYLOAD), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || SizeofResource(nullptr, found) < 4) return 0;
    std::uint32_t length = 0;  // little-endian, as is this machine
    std::memcpy(&length, bytes, sizeof length);
    return 4 + std::uint64_t{length};  // "SZDD" and the entry's body
}

struct FullDisk {
    FullDisk() { SetWriteLimitForTesting(TemporaryFileOfFirstEntry() + 100); }
} fullDisk;

}  // namespace
