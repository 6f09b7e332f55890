#pragma once
// libmspack's SZDD decompressor over buffers in memory, so its speed is
// measured without file I/O, like ours.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class MspackSzdd {
public:
    MspackSzdd();
    ~MspackSzdd();
    MspackSzdd(const MspackSzdd&) = delete;
    MspackSzdd& operator=(const MspackSzdd&) = delete;

    // Bytes written to out, or -1 when libmspack reports an error.
    [[nodiscard]] long Expand(std::span<const std::uint8_t> file, std::span<std::uint8_t> out);

private:
    struct State;
    std::unique_ptr<State> state_;
};
