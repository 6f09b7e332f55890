#pragma once
// What both codec benchmarks share: reading the corpus, timing, and the one
// line per file that scripts/bench-codec.sh adds up.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadCorpusFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Seconds one call of fn takes by the clock now(): the best of several
// batches, each long enough for the clock, so that other work on the
// machine counts least.
template <typename Fn>
double BestSeconds(double (*now)(), Fn fn, int batches = 7) {
    int reps = 1;
    for (;;) {
        const double start = now();
        for (int i = 0; i < reps; ++i) fn();
        if (now() - start > 0.02 || reps >= (1 << 20)) break;
        reps *= 2;
    }
    double best = 1e30;
    for (int b = 0; b < batches; ++b) {
        const double start = now();
        for (int i = 0; i < reps; ++i) fn();
        best = std::min(best, (now() - start) / reps);
    }
    return best;
}

inline double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// FILE name size compressed compress_s ours_expand_s peer_expand_s
inline void PrintRow(const std::string& name, std::size_t size, std::size_t packed, double compress, double ours,
                     double peer) {
    std::printf("FILE %s %zu %zu %.9f %.9f %.9f\n", name.c_str(), size, packed, compress, ours, peer);
}
