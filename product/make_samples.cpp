// Writes the sample files of the "dalmont" collection into one folder; the
// cross build stages them with the other product files before packing.
#include <cstdio>
#include <fstream>
#include <string>

#include "product/sample_records.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples FOLDER\n");
        return 2;
    }
    for (std::size_t index = 0; index < SampleFiles.size(); ++index) {
        const std::string path = std::string(argv[1]) + "/" + std::string(SampleFiles[index].name);
        const std::string bytes = MakeSample(index);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "make_samples: cannot write %s\n", path.c_str());
            std::remove(path.c_str());
            return 1;
        }
    }
    return 0;
}
