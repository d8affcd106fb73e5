#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include "CtlRun.h"
#include "MountedSim.h"
#include "TempShare.h"

namespace {

// tessaron-ctl against a simulated appliance serving a copy of the sample share.
class SimShareTest : public testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = FuseMissing(); !missing.empty()) GTEST_SKIP() << missing;
    }
    void Start(const std::vector<std::string>& options) {
        sim = std::make_unique<MountedSim>(state.Root(), options);
        ASSERT_TRUE(sim->Mounted()) << "tessaron-sim did not mount";
    }
    const std::string& Share() const { return sim->Mount(); }
    std::string Get(const std::string& section, const std::string& key) const {
        const CtlResult result = RunCtl({"get", Share(), section, key});
        return result.code == 0 ? result.out : "(exit " + std::to_string(result.code) + ")";
    }
    // Waits for the share to come back from a restart.
    void WaitUntilUp() const {
        for (int i = 0; i < 100 && RunCtl({"identify", Share()}).code != 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    std::string Log() const { return state.Read("Config/Logfile.txt"); }

    TempShare state{TempShare::Contents::Sample};
    std::unique_ptr<MountedSim> sim;
};

// The simulator starts only on an empty folder with nothing mounted on it,
// keeps a value in its own form, and stops cleanly.
TEST_F(SimShareTest, KeptValueComesBackInTheServersOwnForm) {
    const TempShare other{TempShare::Contents::Sample};
    EXPECT_EQ(RunSim("--version").output, "tessaron-sim 1.00\n");  // alone: the program's version
    const SimRun onFiles = RunSim(state.Root() + " " + other.PathOf("Config"));
    EXPECT_EQ(onFiles.code, 1);
    EXPECT_NE(onFiles.output.find("not an empty folder"), std::string::npos) << onFiles.output;
    Start({});
    EXPECT_EQ(RunCtl({"set", Share(), "IP", "DefaultRouter", "192.168.1.254"}).code, 0);
    const CtlResult identify = RunCtl({"identify", Share()});
    EXPECT_EQ(identify.code, 0);
    EXPECT_EQ(identify.out, "product: QUOR Tessaron CD\nversion: 4.00\nkind: 0\nserial:  1234-5678\n");
    const std::string config = state.Read("Config/Config.ini");
    EXPECT_EQ(config.rfind("; QUOR Tessaron CD-ROM Server V4.00 ", 0), 0u) << config;
    EXPECT_NE(config.find("\r\nDefaultRouter = 192.168.1.254\r\n"), std::string::npos);
    EXPECT_NE(config.find("\r\nBOOTPEnable = no                      ; yes/no\r\n"), std::string::npos);
    EXPECT_NE(Log().find("Config/Config.ini: [IP] DefaultRouter set to 192.168.1.254\r\n"), std::string::npos);
    // The server's reports are its own; names match without regard to case.
    EXPECT_LT(::open((Share() + "/config/STAT.TXT").c_str(), O_WRONLY), 0);
    EXPECT_EQ(errno, EACCES);
    const SimRun second = RunSim(other.Root() + " " + Share());
    EXPECT_EQ(second.code, 1);
    EXPECT_NE(second.output.find("already a mount point"), std::string::npos) << second.output;
    EXPECT_EQ(sim->Stop(), 0);
    EXPECT_FALSE(sim->Mounted());
}

TEST_F(SimShareTest, RefusedValueLeavesTheOldOneInTheFile) {
    Start({"--refuse", "IP/NetMask=0\\.0\\.0\\.0", "--refuse", "HTTP/FTP/Password=.{0,3}", "--model", "hd",
           "--version", "3.07", "--serial", "9999-0001"});
    const CtlResult refused = RunCtl({"set", Share(), "IP", "NetMask", "0.0.0.0"});
    EXPECT_EQ(refused.code, 4);
    EXPECT_EQ(refused.err, Said({126}) + "not kept: IP NetMask (the file has 255.255.255.0)\n");
    EXPECT_EQ(Get("IP", "NetMask"), "255.255.255.0\n");
    EXPECT_NE(Log().find("[IP] NetMask = 0.0.0.0 refused, keeps 255.255.255.0\r\n"), std::string::npos);
    EXPECT_EQ(RunCtl({"set", Share(), "HTTP/FTP", "Password", "abc"}).code, 4);  // each rule given applies
    EXPECT_EQ(RunCtl({"identify", Share()}).out, "product: QUOR Tessaron HD\nversion: 3.07\nkind: 1\nserial:  9999-0001\n");
}

// A restart takes the share away for a while; factory defaults bring back
// the starting state. Like the desktop's SMB mounts, this share takes no
// read-write open of a file: the programs replace the whole file.
TEST_F(SimShareTest, RestartAndFactoryDefaults) {
    Start({"--restart-seconds", "2", "--no-read-write-open"});
    EXPECT_EQ(RunCtl({"set", Share(), "IP", "DefaultRouter", "10.0.0.1"}).code, 0);
    EXPECT_EQ(RunCtl({"restart", Share(), "--yes"}).code, 0);
    EXPECT_EQ(RunCtl({"identify", Share()}).code, 2);
    WaitUntilUp();
    EXPECT_EQ(Get("Server", "Restart"), "no\n");
    EXPECT_EQ(Get("IP", "DefaultRouter"), "10.0.0.1\n");
    EXPECT_NE(state.Read("Config/Stat.txt").find("\r\nUptime: 0 days, 00:00:00\r\n"), std::string::npos);
    EXPECT_NE(Log().find("  Restarting\r\n"), std::string::npos);
    EXPECT_EQ(RunCtl({"restart", Share(), "--factory-defaults", "--yes"}).code, 0);
    WaitUntilUp();
    EXPECT_EQ(Get("IP", "DefaultRouter"), "192.168.1.1\n");
    EXPECT_EQ(Get("Server", "FactoryDefaults"), "no\n");
}

}  // namespace
