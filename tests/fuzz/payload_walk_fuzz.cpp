// The container walk on any bytes: every entry it yields lies inside the
// payload, and expanding each one stays in bounds.

#include <cstdlib>
#include <vector>

#include "payload/install_file_list.h"
#include "payload/payload_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> payload(data, size);
    for (const std::size_t limit : {InstallFileList.size(), std::size_t{1000}}) {
        const PayloadWalk walk = WalkPayload(payload, limit);
        if (walk.entries.size() > limit || walk.end > size) std::abort();
        for (const PayloadEntry& e : walk.entries) {
            if (e.length == 0 || PayloadEntryEnd(e) > size) std::abort();
            const std::vector<std::uint8_t> file = RestoreSzdd(payload, e);
            std::vector<std::uint8_t> out(4096);
            (void)ExpandSzdd(file, out);
        }
    }
    return 0;
}
