// Runs that stop part way: a destination that cannot be written, damaged
// payloads, a payload that ends early and a full disk. What was written
// before the failure stays, the dialog stays Ready, and OK may be pressed
// again. The damaged and full-disk installers are the test builds of
// tests/variants.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/install_support.h"
#include "framework/handle.h"

namespace {

constexpr char installError[] = "Error in installing";
constexpr char corruptFile[] = "Error in installing\r\nCorrupt file";

// The file is held open without sharing, as a running help viewer would.
// (A read-only attribute does not serve here: Wine keeps it as the Unix mode,
// which does not stop a root user, so under a root test runner the file is
// simply overwritten.)
TEST(InstallFailures, ADestinationInUseStopsTheRunAndOkAgainCompletesOnceItIsFree) {
    for (const char* folder : {"C:\\Apps", "C:\\Apps\\KVX"}) ASSERT_TRUE(CreateDirectoryA(folder, nullptr)) << folder;
    const std::string help = "C:\\Apps\\KVX\\KVX.hlp";
    install::WriteBytes(help, "the old help");
    UniqueFile inUse(CreateFileA(help.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(inUse);

    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    install::PressOk(session->dialog, "C:\\Apps");
    install::ExpectMessage(*session, installError);
    install::ExpectReady(*session);
    install::ExpectInstalled("C:\\Apps\\KVX", 0, 2);
    install::ExpectMissing("C:\\Apps\\KVX", 3);
    EXPECT_TRUE(install::Exists("C:\\Apps\\KVX\\KVX.tmp"));
    inUse.reset();
    EXPECT_EQ(install::ReadBytes(help), "the old help");

    robot::Click(session->dialog, IDOK);
    install::ExpectCompletedRun(*session);
    install::ExpectInstalled("C:\\Apps\\KVX");
    EXPECT_FALSE(install::Exists("C:\\Apps\\KVX\\KVX.tmp"));
}

struct Damage {
    const char* variant;
    std::size_t entry;  // where the run stops
    const char* message;
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.variant; }

class InstallDamagedPayload : public testing::TestWithParam<Damage> {};

TEST_P(InstallDamagedPayload, StopsAtTheDamagedEntryAndWritesNothingForIt) {
    const Damage& damage = GetParam();
    auto session = e2e::StartSetup(install::VariantInstaller(damage.variant));
    ASSERT_TRUE(session && session->dialog);
    install::PressOk(session->dialog, "C:\\Apps");
    install::ExpectMessage(*session, damage.message);
    install::ExpectReady(*session);
    install::ExpectInstalled("C:\\Apps\\KVX", 0, damage.entry);
    install::ExpectMissing("C:\\Apps\\KVX", damage.entry);
    EXPECT_TRUE(install::Exists("C:\\Apps\\KVX\\KVX.tmp"));
    robot::Click(session->dialog, IDCANCEL);
    EXPECT_TRUE(robot::WaitForExit(session->program));
}

// Made from the product's payload by tests/variants/damage-payload.sh.
INSTANTIATE_TEST_SUITE_P(Variants, InstallDamagedPayload,
                         testing::Values(Damage{"truncated", 7, corruptFile}, Damage{"bad_signature", 3, corruptFile},
                                         Damage{"empty_entry", 5, installError}, Damage{"cut", 8, corruptFile},
                                         Damage{"oversized", 8, installError}),
                         [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.variant); });

TEST(InstallFailures, APayloadEndingAfterTheProgramFilesCompletesWithThem) {
    auto session = e2e::StartSetup(install::VariantInstaller("ends_early"));
    ASSERT_TRUE(session && session->dialog);
    install::PressOk(session->dialog, "C:\\Apps");
    install::ExpectCompletedRun(*session);
    install::ExpectInstalled("C:\\Apps\\KVX", 0, install::programFileCount);
    install::ExpectMissing("C:\\Apps\\KVX", install::programFileCount);
    EXPECT_FALSE(install::Exists("C:\\Apps\\KVX\\KVX.tmp"));
}

TEST(InstallFailures, AFullDiskIsReportedWithTheFileAndTheDialogStaysReady) {
    auto session = e2e::StartSetup(install::VariantInstaller("full_disk"));
    ASSERT_TRUE(session && session->dialog);
    install::PressOk(session->dialog, "C:\\Apps");
    // This build's disk fills up 100 bytes into KVX.exe.
    install::ExpectMessage(*session, "Disk full while accessing C:\\Apps\\KVX\\KVX.exe.", IDOK, {IDOK}, MB_ICONHAND);
    install::ExpectReady(*session);
    EXPECT_TRUE(install::Exists("C:\\Apps\\KVX\\KVX.tmp"));
    install::ExpectMissing("C:\\Apps\\KVX", 1);

    // Still full: the next run stops at its first write, the temporary file's.
    robot::Click(session->dialog, IDOK);
    install::ExpectMessage(*session, "Disk full while accessing C:\\Apps\\KVX\\KVX.tmp.", IDOK, {IDOK}, MB_ICONHAND);
    install::ExpectReady(*session);
    robot::Click(session->dialog, IDCANCEL);
    EXPECT_TRUE(robot::WaitForExit(session->program));
}

}  // namespace
