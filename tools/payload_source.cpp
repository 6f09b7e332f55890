#include "tools/payload_source.h"

#include <stdexcept>

#include "payload/pe_resource.h"

std::span<const std::uint8_t> LocatePayload(std::span<const std::uint8_t> file, const std::string& name) {
    if (!IsPeImage(file)) return file;
    const auto resource = FindPeResource(file, RtRcdata, PayloadResourceId, PayloadLanguage);
    if (!resource) throw std::runtime_error(name + ": no payload resource (RT_RCDATA 136) in this executable");
    return *resource;
}
