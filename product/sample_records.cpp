#include "product/sample_records.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace {

// A fixed generator (splitmix64): the standard library's distributions are
// not specified bit for bit, so they would not give the same bytes everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
    int Step(int spread) { return Below(2 * spread + 1) - spread; }

private:
    std::uint64_t state_;
};

struct Station {
    const char* code;
    const char* place;
    int latitude;   // millionths of a degree
    int longitude;
    int elevation;  // metres
};

constexpr std::array<Station, 12> Stations{{
    {"DLM-0104", "Dalmont Nord", 46'912'344, 7'231'908, 612},
    {"DLM-0117", "Dalmont Gare", 46'905'871, 7'240'112, 598},
    {"DLM-0122", "Vieux Moulin", 46'887'203, 7'262'455, 644},
    {"DLM-0139", "Les Esserts", 46'931'660, 7'198'023, 701},
    {"DLM-0145", "Pre du Lac", 46'874'019, 7'215'377, 587},
    {"DLM-0158", "Crete Haute", 46'958'402, 7'276'810, 1'142},
    {"DLM-0163", "Champ Derrey", 46'899'745, 7'187'562, 655},
    {"DLM-0171", "La Corbaz", 46'921'118, 7'251'094, 623},
    {"DLM-0186", "Bois Brule", 46'866'530, 7'243'681, 690},
    {"DLM-0192", "Sous-Roche", 46'944'277, 7'208'336, 812},
    {"DLM-0207", "Les Planches", 46'883'906, 7'279'243, 731},
    {"DLM-0215", "Marais Vert", 46'909'452, 7'169'718, 579},
}};

constexpr std::array<const char*, 8> Winds{"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
constexpr std::array<const char*, 6> Skies{"clear", "fair", "cloudy", "overcast", "rain", "fog"};

struct Weather {
    int temperature = 84;  // tenths of a degree Celsius
    int pressure = 9'634;  // tenths of a hectopascal
    int humidity = 71;
    int wind = 2;
    int sky = 1;
};

void Drift(Random& random, Weather& weather) {
    weather.temperature += random.Step(6);
    weather.pressure += random.Step(4);
    weather.humidity = std::min(100, std::max(15, weather.humidity + random.Step(3)));
    if (random.Below(9) == 0) weather.wind = (weather.wind + 8 + random.Step(1)) % 8;
    if (random.Below(13) == 0) weather.sky = random.Below(static_cast<int>(Skies.size()));
}

std::string Format(const char* format, auto... values) {
    std::array<char, 256> line{};
    const int length = std::snprintf(line.data(), line.size(), format, values...);
    return std::string(line.data(), static_cast<std::size_t>(length));
}

std::string Degrees(int millionths) {
    return Format("%d.%06d", millionths / 1'000'000, millionths % 1'000'000);
}

// A reading of the station's position jitters in its last digits, like a
// receiver's; the instrument values and the check word are close to noise.
std::string LogRecord(Random& random, int number, int minute, Weather& weather) {
    const Station& station = Stations[static_cast<std::size_t>(random.Below(Stations.size()))];
    Drift(random, weather);
    const int day = minute / 1'440;
    return Format("%07d;2019-%02d-%02d %02d:%02d:%02d;%s;%s;%s;%d;%+.1f;%.1f;%d;%s;%d.%d;%s;"
                  "%d.%02d;%d.%02d;%d.%02d;0.%06d;%d.%d;%08X%04X\r\n",
                  number, 3 + day / 30, 1 + day % 30, minute / 60 % 24, minute % 60,
                  random.Below(60), station.code,
                  Degrees(station.latitude + random.Step(900)).c_str(),
                  Degrees(station.longitude + random.Step(900)).c_str(), station.elevation,
                  weather.temperature / 10.0, weather.pressure / 10.0, weather.humidity,
                  Winds[static_cast<std::size_t>(weather.wind)], random.Below(9), random.Below(10),
                  Skies[static_cast<std::size_t>(weather.sky)], random.Below(900), random.Below(100),
                  random.Below(20), random.Below(100), random.Below(20), random.Below(100),
                  random.Below(10'000), random.Below(25), random.Below(10),
                  static_cast<unsigned>(random.Next() >> 32), random.Below(0x10000));
}

std::string IndexRecord(Random& random, int number) {
    const Station& station = Stations[static_cast<std::size_t>(number % Stations.size())];
    const char* file = random.Below(2) == 0 ? "ngf0700c1.kvx" : "ngf1b433d.kvx";
    return Format("%s;%06d;%07d;%04d;%s;%s;%s;%d;%08X;%s\r\n", file, random.Below(20'000),
                  random.Below(1'200'000), random.Below(10'000), station.code, Degrees(station.latitude).c_str(),
                  Degrees(station.longitude).c_str(), station.elevation,
                  static_cast<unsigned>(random.Next() >> 32), station.place);
}

// Records until the file is nearly full, then one closing comment line that
// makes the length exact.
template <class NextRecord>
std::string Fill(std::string text, std::size_t length, NextRecord nextRecord) {
    constexpr std::size_t closingRoom = 256;
    for (int number = 1;; ++number) {
        std::string record = nextRecord(number);
        if (text.size() + record.size() + closingRoom > length) break;
        text += record;
    }
    const std::string closing = "; end of records ";
    text += closing + std::string(length - text.size() - closing.size() - 2, '-') + "\r\n";
    return text;
}

}  // namespace

std::string MakeSample(std::size_t index) {
    const SampleFile& file = SampleFiles.at(index);
    Random random(0x6B7678'00 + index);
    if (index == 0) {
        return Fill("; Nalvora sample collection \"dalmont\": station index\r\n"
                    "; file;record;offset;size;station;latitude;longitude;elevation;check;place\r\n",
                    file.length, [&](int number) { return IndexRecord(random, number); });
    }
    Weather weather;
    int minute = 0;
    return Fill("; Nalvora sample collection \"dalmont\": " + std::string(file.name) + "\r\n"
                "; record;time;station;latitude;longitude;elevation;temperature;pressure;humidity;"
                "wind;speed;sky;radiation;soil1;soil2;flux;gust;check\r\n",
                file.length, [&](int number) {
                    minute += 1 + random.Below(4);
                    return LogRecord(random, number, minute, weather);
                });
}
