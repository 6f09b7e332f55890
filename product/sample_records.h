#pragma once
// The three sample files of the "dalmont" collection, generated: a station
// index and two logs of weather records. Text records with repeated field
// names and slowly drifting values compress about as well as the real
// collection; the same index always gives the same bytes.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

struct SampleFile {
    std::string_view name;
    std::size_t length;
};

inline constexpr std::array<SampleFile, 3> SampleFiles{{
    {"dalmont.idx", 25'305},
    {"ngf0700c1.kvx", 956'238},
    {"ngf1b433d.kvx", 1'174'163},
}};

// The bytes of SampleFiles[index], exactly SampleFiles[index].length long.
[[nodiscard]] std::string MakeSample(std::size_t index);
