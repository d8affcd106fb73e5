#include "MountedSim.h"
#include "PageFixture.h"

namespace {

// The main window over a simulated appliance that serves the fixture's share.
class SimWindowTest : public PageTest {
protected:
    void SetUp() override {
        if (const std::string missing = FuseMissing(); !missing.empty()) GTEST_SKIP() << missing;
        PageTest::SetUp();
        sim = std::make_unique<MountedSim>(share.Root(), std::vector<std::string>{"--refuse", "IP/NetMask=0\\.0\\.0\\.0"});
        ASSERT_TRUE(sim->Mounted()) << "tessaron-sim did not mount";
        app.SetServerPath(sim->Mount());
    }
    void TearDown() override {
        PageTest::TearDown();
        sim.reset();
    }
    std::unique_ptr<MountedSim> sim;
};

TEST_F(SimWindowTest, SubmitOfARefusedValueIsUnsuccessfulAndKeepsTheChoices) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "0.0.0.0");
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{126});
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.255.0");
    // The page was rebuilt from what the server wrote back, remarks and all.
    EXPECT_EQ(Entries(Combo(Active(), "Enable BOOTP")), QStringList({"yes", "no"}));
}

}  // namespace
