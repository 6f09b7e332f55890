// The PE resource reader on any bytes: what it finds lies inside the image.

#include <cstdlib>

#include "payload/pe_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> image(data, size);
    (void)IsPeImage(image);
    for (const std::uint16_t language : {PayloadLanguage, std::uint16_t{0}}) {
        const auto found = FindPeResource(image, RtRcdata, PayloadResourceId, language);
        if (!found) continue;
        if (found->data() < data || found->data() + found->size() > data + size) std::abort();
        unsigned sum = 0;
        for (std::uint8_t b : *found) sum += b;
        if (sum == 0xFFFFFFFFu) std::abort();
    }
    const auto version = FindPeResource(image, 16, 1, 1033);
    if (version && (version->data() < data || version->data() + version->size() > data + size)) std::abort();
    return 0;
}
