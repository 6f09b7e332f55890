// Native: our compressor and expander against libmspack's SZDD expander,
// all in memory, timed in processor time, one line per corpus file (see
// bench_common.h).

#include <time.h>

#include <cstdio>

#include "bench/bench_common.h"
#include "bench/mspack_memory.h"
#include "payload/szdd.h"

namespace {

// This thread's processor time: on a machine shared with other work it
// measures the code rather than the queue for the processor.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
    MspackSzdd mspack;
    int failures = 0;
    for (int a = 1; a < argc; ++a) {
        const Bytes data = ReadCorpusFile(argv[a]);
        Bytes packed;
        const double compress = BestSeconds(
            ThreadSeconds, [&] { packed = CompressSzdd(data); }, 2);
        Bytes ours(data.size()), theirs(data.size());
        const double expand = BestSeconds(ThreadSeconds, [&] { (void)ExpandSzdd(packed, ours); });
        long peerCount = -1;
        const double peer = BestSeconds(ThreadSeconds, [&] { peerCount = mspack.Expand(packed, theirs); });
        if (ours != data || peerCount != static_cast<long>(data.size()) || theirs != data) {
            std::fprintf(stderr, "MISMATCH %s\n", argv[a]);
            ++failures;
        }
        PrintRow(argv[a], data.size(), packed.size(), compress, expand, peer);
    }
    return failures == 0 ? 0 : 1;
}
