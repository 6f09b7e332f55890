// kvxpack as its users run it: the real binary on real files.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "payload/install_file_list.h"
#include "payload/payload_format.h"
#include "payload/pe_resource.h"
#include "payload/szdd.h"
#include "tests/native/test_pe_image.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& p, const Bytes& b) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

std::string ReadText(const fs::path& p) {
    const Bytes b = ReadFile(p);
    return std::string(b.begin(), b.end());
}

fs::path HostName(std::string_view name) {
    std::string s(name);
    for (char& c : s) c = c == '\\' ? '/' : c;
    return s;
}

struct Result {
    int exit;
    std::string out;
    std::string err;
};

class Kvxpack : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvx-pack-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    Result Run(const std::string& args) const {
        const std::string command =
            "cd '" + dir_.string() + "' && '" KVX_BINARY_DIR "/tools/kvxpack' " + args + " >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        Result r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(dir_ / "stdout.txt"),
                 ReadText(dir_ / "stderr.txt")};
        fs::remove(dir_ / "stdout.txt");
        fs::remove(dir_ / "stderr.txt");
        return r;
    }

    // The nine files, of varied content and size, under dir_/src.
    std::vector<Bytes> MakeSources() const {
        std::vector<Bytes> files;
        for (std::size_t i = 0; i < InstallFileList.size(); ++i) {
            Bytes b;
            for (std::size_t k = 0; k < 3000 * (i + 1); ++k)
                b.push_back(static_cast<std::uint8_t>((k * k >> (i % 5)) ^ i));
            WriteFile(dir_ / "src" / HostName(InstallFileList[i]), b);
            files.push_back(b);
        }
        return files;
    }

    // Every file in dir_, hidden temporaries included.
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dir_))
            names.push_back(fs::relative(e.path(), dir_).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

TEST_F(Kvxpack, CompressAndExpandStandardFiles) {
    const Bytes data = ReadFile(KVX_SOURCE_DIR "/payload/szdd_compress.cpp");
    WriteFile(dir_ / "plain", data);
    ASSERT_EQ(Run("compress plain packed").exit, 0);
    EXPECT_EQ(ReadFile(dir_ / "packed"), CompressSzdd(data));
    ASSERT_EQ(Run("expand packed back").exit, 0);
    EXPECT_EQ(ReadFile(dir_ / "back"), data);
}

TEST_F(Kvxpack, PackListExtractAndVerifyAPayloadAndASetupExe) {
    const auto sources = MakeSources();
    ASSERT_EQ(Run("pack src payload.bin").exit, 0);
    const Bytes payload = ReadFile(dir_ / "payload.bin");
    WriteFile(dir_ / "setup.exe", test_pe::BuildImage({{3, 1, 1033, Bytes(100, 1)},
                                                       {RtRcdata, PayloadResourceId, PayloadLanguage, payload}}));
    const PayloadWalk walk = WalkPayload(payload, InstallFileList.size());
    ASSERT_EQ(walk.entries.size(), InstallFileList.size());

    for (const char* file : {"payload.bin", "setup.exe"}) {
        SCOPED_TRACE(file);
        const Result list = Run(std::string("list ") + file);
        ASSERT_EQ(list.exit, 0) << list.err;
        for (std::size_t i = 0; i < InstallFileList.size(); ++i) {
            const std::string row = std::to_string(i) + "  " + std::string(InstallFileList[i]);
            const auto at = list.out.find(row);
            ASSERT_NE(at, std::string::npos) << list.out;
            const std::string line = list.out.substr(at, list.out.find('\n', at) - at);
            EXPECT_NE(line.find(" " + std::to_string(walk.entries[i].length) + " "), std::string::npos) << line;
            EXPECT_TRUE(line.ends_with(" " + std::to_string(sources[i].size()))) << line;
        }
        const Result verify = Run(std::string("verify ") + file);
        EXPECT_EQ(verify.exit, 0) << verify.out << verify.err;
        const fs::path out = dir_ / (std::string(file) + ".out");
        ASSERT_EQ(Run(std::string("extract ") + file + " " + out.filename().string()).exit, 0);
        for (std::size_t i = 0; i < InstallFileList.size(); ++i) {
            EXPECT_EQ(ReadFile(out / HostName(InstallFileList[i])), sources[i]) << InstallFileList[i];
        }
    }
}

TEST_F(Kvxpack, VerifyReportsEveryFlaw) {
    MakeSources();
    ASSERT_EQ(Run("pack src payload.bin").exit, 0);
    const Bytes good = ReadFile(dir_ / "payload.bin");
    const PayloadWalk walk = WalkPayload(good, InstallFileList.size());
    Bytes damagedEntry = good;
    damagedEntry[walk.entries[4].body + 6] ^= 1;  // its expanded length no longer matches its stream
    Bytes tenth = good;
    tenth.insert(tenth.end() - 4, {1, 0, 0, 0, 0});
    Bytes trailing = good;
    trailing.push_back(0);
    const struct {
        const char* name;
        Bytes payload;
        const char* message;
    } cases[] = {
        {"entry 4 damaged", damagedEntry, "FAIL entry 4 (KVXuninstall.exe): damaged"},
        {"cut short", Bytes(good.begin(), good.end() - 10), "FAIL a length runs past the end"},
        {"eight entries", BuildPayload(std::vector<Bytes>(8, CompressSzdd(Bytes(20, 'a')))), "FAIL only 8 entries"},
        {"a tenth entry", tenth, "FAIL more entries than the installer reads"},
        {"a byte after the end marker", trailing, "FAIL 1 bytes after the end marker"},
    };
    for (const auto& c : cases) {
        WriteFile(dir_ / "bad.bin", c.payload);
        const Result r = Run("verify bad.bin");
        EXPECT_EQ(r.exit, 1) << c.name;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.name << ":\n" << r.out;
        EXPECT_NE(r.err.find("verification failed"), std::string::npos) << c.name;
    }
}

TEST_F(Kvxpack, ErrorsExitNonZeroAndLeaveNoFile) {
    MakeSources();
    ASSERT_EQ(Run("pack src payload.bin").exit, 0);
    const Bytes payload = ReadFile(dir_ / "payload.bin");
    Bytes damaged = payload;
    damaged[WalkPayload(payload, 9).entries[8].body + 6] ^= 1;
    WriteFile(dir_ / "damaged.bin", damaged);
    Bytes cut = CompressSzdd(payload);
    cut.pop_back();
    WriteFile(dir_ / "cut.sz", cut);
    WriteFile(dir_ / "noresource.exe", test_pe::BuildImage({{RtRcdata, 135, 1033, payload}}));
    WriteFile(dir_ / "existing", Bytes{'o', 'l', 'd'});
    WriteFile(dir_ / "missing/" / HostName(InstallFileList[0]), {1});
    fs::copy(dir_ / "src", dir_ / "big", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    WriteFile(dir_ / "big" / HostName(InstallFileList[7]), Bytes(ExpansionBufferSize + 1, 'b'));
    fs::copy(dir_ / "src", dir_ / "empty", fs::copy_options::recursive);
    WriteFile(dir_ / "empty" / HostName(InstallFileList[2]), {});
    const auto before = Listing();

    const struct {
        const char* args;
        int exit;
        const char* message;
    } cases[] = {
        {"", 2, "usage: kvxpack"},
        {"frobnicate a b", 2, "unknown command 'frobnicate'"},
        {"compress plain", 2, "compress takes 2 arguments"},
        {"compress nothere out", 1, "cannot open nothere"},
        {"compress src out", 1, "is a folder"},
        {"compress payload.bin nofolder/out", 1, "cannot create a file beside nofolder/out"},
        {"expand payload.bin out", 1, "not an SZDD mode-A file"},
        {"expand cut.sz existing", 1, "damaged"},
        {"pack missing out", 1, "missing/KVXS.exe: missing"},
        {"pack big out", 1, "more than the installer's 2400000"},
        {"pack empty out", 1, "KVX.hlp: empty"},
        {"list noresource.exe", 1, "no payload resource (RT_RCDATA 136)"},
        {"extract damaged.bin out", 1, "entry 8 (dalmont\\ngf1b433d.kvx): damaged"},
    };
    for (const auto& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.exit, c.exit) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(Listing(), before) << c.args << ": a file was left behind";
    }
    EXPECT_EQ(ReadFile(dir_ / "existing"), (Bytes{'o', 'l', 'd'}));
    const Result help = Run("--help");
    EXPECT_EQ(help.exit, 0);
    EXPECT_NE(help.out.find("extract FILE DIR"), std::string::npos);
}

TEST_F(Kvxpack, ReadsTheBuiltSetupExe) {
    // The cross build sits beside this one when scripts/build.sh made both.
    const fs::path setup = fs::path(KVX_BINARY_DIR).parent_path() / "win32/app/setup.exe";
    if (!fs::exists(setup)) GTEST_SKIP() << "no cross-built setup.exe at " << setup;
    const Result verify = Run("verify '" + setup.string() + "'");
    EXPECT_EQ(verify.exit, 0) << verify.out << verify.err;
    ASSERT_EQ(Run("extract '" + setup.string() + "' out").exit, 0);
    for (std::string_view name : InstallFileList) {
        const fs::path file = dir_ / "out" / HostName(name);
        EXPECT_GT(fs::file_size(file), 0u) << name;
    }
    const std::uintmax_t shipped[] = {25'305, 956'238, 1'174'163};
    for (std::size_t i = ProgramFileCount; i < InstallFileList.size(); ++i) {
        EXPECT_EQ(fs::file_size(dir_ / "out" / HostName(InstallFileList[i])), shipped[i - ProgramFileCount]);
    }
}

}  // namespace
