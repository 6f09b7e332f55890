#include "tools/kvxpack_commands.h"

#include <algorithm>
#include <iomanip>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "payload/install_file_list.h"
#include "payload/payload_format.h"
#include "payload/szdd.h"
#include "tools/file_io.h"
#include "tools/payload_source.h"

namespace fs = std::filesystem;

namespace {

// Installed names use backslashes; on this host the sample folder is a
// subfolder like any other.
fs::path HostName(std::string_view installName) {
    std::string name(installName);
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string EntryName(std::size_t index) {
    return "entry " + std::to_string(index) + " (" + std::string(InstallFileList[index]) + ")";
}

// The bytes a well-formed SZDD file expands to, or a message saying why not.
std::vector<std::uint8_t> ExpandOrThrow(std::span<const std::uint8_t> file, std::size_t limit,
                                        const std::string& what) {
    const auto length = SzddExpandedLength(file);
    if (!length) throw std::runtime_error(what + ": not an SZDD mode-A file");
    // Every two compressed bytes give at most 18, so a larger length is a lie
    // that must not cost an allocation.
    if (*length > (file.size() - SzddHeaderSize) * 9) throw std::runtime_error(what + ": damaged (stream too short)");
    if (*length > limit) {
        throw std::runtime_error(what + ": expands to " + std::to_string(*length) + " bytes, more than " +
                                 std::to_string(limit));
    }
    std::vector<std::uint8_t> out(*length);
    const std::int32_t n = ExpandSzdd(file, out);
    if (n < 0) throw std::runtime_error(what + ": damaged (LZ error " + std::to_string(n) + ")");
    return out;
}

struct LoadedPayload {
    std::vector<std::uint8_t> file;
    std::span<const std::uint8_t> payload;
    PayloadWalk walk;
};

LoadedPayload LoadPayload(const fs::path& path) {
    LoadedPayload p;
    p.file = ReadWholeFile(path);
    p.payload = LocatePayload(p.file, path.string());
    p.walk = WalkPayload(p.payload, InstallFileList.size());
    return p;
}

// What is wrong with the payload's shape, empty when nothing is: nine
// entries, the end marker, and nothing after it.
std::string ShapeProblem(const LoadedPayload& p) {
    if (p.walk.damaged) return "a length runs past the end of the payload";
    const std::size_t count = p.walk.entries.size();
    if (count < InstallFileList.size()) {
        return "only " + std::to_string(count) + " entries, the installer needs " +
               std::to_string(InstallFileList.size());
    }
    bool damaged = false;
    if (NextPayloadEntry(p.payload, p.walk.end, damaged)) return "more entries than the installer reads";
    if (damaged) return "no end marker";
    const std::size_t end = p.walk.end + PayloadLengthSize;
    if (end != p.payload.size()) return std::to_string(p.payload.size() - end) + " bytes after the end marker";
    return {};
}

void RequireIntact(const LoadedPayload& p, const fs::path& path) {
    if (p.walk.damaged) {
        throw std::runtime_error(path.string() + ": payload damaged after " + std::to_string(p.walk.entries.size()) +
                                 " entries (a length runs past its end)");
    }
}

}  // namespace

void CompressCommand(const fs::path& in, const fs::path& out) {
    const auto data = ReadWholeFile(in);
    WriteFileAtomically(out, CompressSzdd(data));
}

void ExpandCommand(const fs::path& in, const fs::path& out) {
    const auto data = ReadWholeFile(in);
    WriteFileAtomically(out, ExpandOrThrow(data, SIZE_MAX, in.string()));
}

void PackCommand(const fs::path& folder, const fs::path& out) {
    std::vector<std::vector<std::uint8_t>> compressed;
    for (std::string_view name : InstallFileList) {
        const fs::path path = folder / HostName(name);
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) throw std::runtime_error(path.string() + ": missing");
        const auto data = ReadWholeFile(path);
        if (data.empty()) throw std::runtime_error(path.string() + ": empty (the installer rejects an empty file)");
        if (data.size() > ExpansionBufferSize) {
            throw std::runtime_error(path.string() + ": " + std::to_string(data.size()) +
                                     " bytes, more than the installer's " + std::to_string(ExpansionBufferSize));
        }
        compressed.push_back(CompressSzdd(data));
    }
    WriteFileAtomically(out, BuildPayload(compressed));
}

void ListCommand(const fs::path& file, std::ostream& out) {
    const LoadedPayload p = LoadPayload(file);
    out << std::setw(2) << "#"
        << "  " << std::left << std::setw(24) << "name" << std::right << std::setw(10) << "stored" << std::setw(10)
        << "expanded" << '\n';
    for (std::size_t i = 0; i < p.walk.entries.size(); ++i) {
        const PayloadEntry e = p.walk.entries[i];
        const auto length = SzddExpandedLength(RestoreSzdd(p.payload, e));
        out << std::setw(2) << i << "  " << std::left << std::setw(24) << InstallFileList[i] << std::right
            << std::setw(10) << e.length << std::setw(10) << (length ? std::to_string(*length) : "?") << '\n';
    }
    RequireIntact(p, file);
}

void ExtractCommand(const fs::path& file, const fs::path& folder) {
    const LoadedPayload p = LoadPayload(file);
    RequireIntact(p, file);
    // Everything is expanded before anything is written, so a damaged entry
    // leaves the folder untouched.
    std::vector<std::vector<std::uint8_t>> files;
    for (std::size_t i = 0; i < p.walk.entries.size(); ++i) {
        files.push_back(ExpandOrThrow(RestoreSzdd(p.payload, p.walk.entries[i]), ExpansionBufferSize, EntryName(i)));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const fs::path path = folder / HostName(InstallFileList[i]);
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (ec) throw std::runtime_error("cannot create " + path.parent_path().string() + ": " + ec.message());
        WriteFileAtomically(path, files[i]);
    }
}

bool VerifyCommand(const fs::path& file, std::ostream& out) {
    const LoadedPayload p = LoadPayload(file);
    bool ok = true;
    const auto problem = [&](const std::string& text) {
        out << "FAIL " << text << '\n';
        ok = false;
    };
    for (std::size_t i = 0; i < p.walk.entries.size(); ++i) {
        try {
            const auto bytes =
                ExpandOrThrow(RestoreSzdd(p.payload, p.walk.entries[i]), ExpansionBufferSize, EntryName(i));
            if (bytes.empty()) throw std::runtime_error(EntryName(i) + ": expands to nothing");
            out << "ok   " << EntryName(i) << ": " << bytes.size() << " bytes\n";
        } catch (const std::runtime_error& e) {
            problem(e.what());
        }
    }
    if (const std::string shape = ShapeProblem(p); !shape.empty()) problem(shape);
    return ok;
}
