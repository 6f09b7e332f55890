// Sample files the user already has: asked about when they hold data, kept
// on No, replaced on Yes, replaced without a question when empty.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/install_support.h"

namespace {

TEST(InstallSamples, ExistingSamplesAreKeptOnNoReplacedOnYesAndWhenEmpty) {
    for (const char* folder : {"C:\\Apps", "C:\\Apps\\KVX", "C:\\Apps\\KVX\\dalmont"})
        ASSERT_TRUE(CreateDirectoryA(folder, nullptr)) << folder;
    const std::string samples = "C:\\Apps\\KVX\\dalmont\\";
    install::WriteBytes(samples + "dalmont.idx", "the user's own index");
    install::WriteBytes(samples + "ngf0700c1.kvx", "the user's own sample");
    install::WriteBytes(samples + "ngf1b433d.kvx", "");

    auto session = e2e::StartSetup();
    ASSERT_TRUE(session && session->dialog);
    install::PressOk(session->dialog, "C:\\Apps");
    install::ExpectMessage(*session, std::string("dalmont\\dalmont.idx") + install::sampleQuestion, IDNO,
                           {IDYES, IDNO});
    install::ExpectMessage(*session, std::string("dalmont\\ngf0700c1.kvx") + install::sampleQuestion, IDYES,
                           {IDYES, IDNO});
    // The empty one is not asked about; the run completes.
    install::ExpectCompletedRun(*session);

    EXPECT_EQ(install::ReadBytes(samples + "dalmont.idx"), "the user's own index");
    EXPECT_EQ(install::ReadBytes(samples + "ngf0700c1.kvx"), install::ReadBytes(install::ShippedFile(7)));
    EXPECT_EQ(install::ReadBytes(samples + "ngf1b433d.kvx"), install::ReadBytes(install::ShippedFile(8)));
    install::ExpectInstalled("C:\\Apps\\KVX", 0, install::programFileCount);  // the program files, whatever the answers
    EXPECT_FALSE(install::Exists("C:\\Apps\\KVX\\KVX.tmp"));
}

}  // namespace
