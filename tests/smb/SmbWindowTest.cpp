#include "MountedSim.h"
#include "PageFixture.h"
#include "SambaServer.h"

namespace {

// The main window over a Samba share of a simulated appliance: through the
// desktop's mount, and with nothing mounted (also when the server wants a
// user name and password first).
class SmbWindowTest : public PageTest {
protected:
    void SetUp() override {
        for (const std::string& missing : {SambaServer::Missing(), FuseMissing()}) {
            if (!missing.empty()) GTEST_SKIP() << missing;
        }
        PageTest::SetUp();
        sim = std::make_unique<MountedSim>(share.Root(), std::vector<std::string>{});
        samba = std::make_unique<SambaServer>(sim->Mount());
        ASSERT_TRUE(samba->Up());
    }
    void TearDown() override {
        PageTest::TearDown();
        samba.reset();
        sim.reset();
    }
    std::unique_ptr<MountedSim> sim;
    std::unique_ptr<SambaServer> samba;
};

TEST_F(SmbWindowTest, APageSubmitsThroughTheDesktopsMount) {
    if (const std::string missing = GvfsMount::Missing(); !missing.empty()) GTEST_SKIP() << missing;
    GvfsMount mount(samba->Address());
    ASSERT_FALSE(mount.Folder().empty());
    app.SetServerPath(mount.Folder());
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");
}

TEST_F(SmbWindowTest, WithNothingMountedTheWindowWorksOverSmbAndAsksWhoConnects) {
    const ScopedRuntimeDir noDesktopMounts(share.Root());
    int asked = 0;
    app.SetLogInAsker([&](const std::string& address, SmbCredentials& credentials) {
        ++asked;
        EXPECT_EQ(address, samba->Address("locked"));
        credentials = {"root", "secret"};
        return true;
    });
    app.SetServerPath(samba->Address("locked"));
    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_EQ(Sheet()->count(), 9);
}

}  // namespace
