#include "bench/mspack_memory.h"

#include <mspack.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// libmspack names files by string; ours name one of these.
struct MemoryFile {
    std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

mspack_file* Open(mspack_system*, const char* name, int) {
    auto* f = reinterpret_cast<MemoryFile*>(const_cast<char*>(name));
    f->pos = 0;
    return reinterpret_cast<mspack_file*>(f);
}

void Close(mspack_file*) {}

MemoryFile* File(mspack_file* f) { return reinterpret_cast<MemoryFile*>(f); }

int Read(mspack_file* file, void* buffer, int bytes) {
    MemoryFile* f = File(file);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(bytes), f->size - f->pos);
    std::memcpy(buffer, f->data + f->pos, n);
    f->pos += n;
    return static_cast<int>(n);
}

int Write(mspack_file* file, void* buffer, int bytes) {
    MemoryFile* f = File(file);
    if (static_cast<std::size_t>(bytes) > f->size - f->pos) return -1;
    std::memcpy(f->data + f->pos, buffer, static_cast<std::size_t>(bytes));
    f->pos += static_cast<std::size_t>(bytes);
    return bytes;
}

int Seek(mspack_file* file, off_t offset, int mode) {
    MemoryFile* f = File(file);
    const off_t base = mode == MSPACK_SYS_SEEK_START ? 0
                       : mode == MSPACK_SYS_SEEK_CUR ? static_cast<off_t>(f->pos)
                                                     : static_cast<off_t>(f->size);
    if (base + offset < 0 || base + offset > static_cast<off_t>(f->size)) return -1;
    f->pos = static_cast<std::size_t>(base + offset);
    return 0;
}

off_t Tell(mspack_file* file) { return static_cast<off_t>(File(file)->pos); }
void Message(mspack_file*, const char*, ...) {}
void* Alloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void Free(void* p) { std::free(p); }
void Copy(void* src, void* dst, size_t bytes) { std::memmove(dst, src, bytes); }

}  // namespace

struct MspackSzdd::State {
    mspack_system system{Open, Close, Read, Write, Seek, Tell, Message, Alloc, Free, Copy, nullptr};
    msszdd_decompressor* decompressor = nullptr;
};

MspackSzdd::MspackSzdd() : state_(std::make_unique<State>()) {
    state_->decompressor = mspack_create_szdd_decompressor(&state_->system);
}

MspackSzdd::~MspackSzdd() { mspack_destroy_szdd_decompressor(state_->decompressor); }

long MspackSzdd::Expand(std::span<const std::uint8_t> file, std::span<std::uint8_t> out) {
    MemoryFile in{const_cast<std::uint8_t*>(file.data()), file.size(), 0};
    MemoryFile result{out.data(), out.size(), 0};
    const int err = state_->decompressor->decompress(state_->decompressor, reinterpret_cast<const char*>(&in),
                                                     reinterpret_cast<const char*>(&result));
    return err == MSPACK_ERR_OK ? static_cast<long>(result.pos) : -1;
}
