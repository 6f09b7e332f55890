// Under Wine: our expander in the installer's own 32-bit build against the
// platform's LZ32, one LZRead per file, in the same process. LZ32 reads
// from a file; the file is in the cache after the first run. Timed by the
// wall clock, best of several batches.

#include <windows.h>
#include <lzexpand.h>

#include <cstdio>
#include <string>

#include "bench/bench_common.h"
#include "payload/szdd.h"

namespace {

bool WriteWhole(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Open, one LZRead for the whole file, close: the way an installer uses it.
long Lz32Expand(const std::string& path, Bytes& out) {
    OFSTRUCT ofs{};
    std::string name = path;
    const INT handle = LZOpenFileA(name.data(), &ofs, OF_READ);
    if (handle < 0) return -1;
    const INT n = LZRead(handle, reinterpret_cast<LPSTR>(out.data()), static_cast<INT>(out.size()));
    LZClose(handle);
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    CreateDirectoryA("C:\\b", nullptr);
    int failures = 0;
    for (int a = 1; a < argc; ++a) {
        const Bytes data = ReadCorpusFile(argv[a]);
        Bytes packed;
        const double compress = BestSeconds(
            WallSeconds, [&] { packed = CompressSzdd(data); }, 2);
        const std::string path = "C:\\b\\" + std::to_string(a) + ".sz_";
        if (!WriteWhole(path, packed)) return 2;
        Bytes ours(data.size()), theirs(data.size() + 1);
        const double expand = BestSeconds(WallSeconds, [&] { (void)ExpandSzdd(packed, ours); });
        long peerCount = -1;
        const double peer = BestSeconds(WallSeconds, [&] { peerCount = Lz32Expand(path, theirs); });
        theirs.resize(data.size());
        if (ours != data || peerCount != static_cast<long>(data.size()) || theirs != data) {
            std::fprintf(stderr, "MISMATCH %s\n", argv[a]);
            ++failures;
        }
        PrintRow(argv[a], data.size(), packed.size(), compress, expand, peer);
        DeleteFileA(path.c_str());
    }
    return failures == 0 ? 0 : 1;
}
