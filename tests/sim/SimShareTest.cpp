#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <optional>

#include "Appliance.h"
#include "CtlRun.h"
#include "FileException.h"
#include "FileLock.h"
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
    std::string Edited(const std::string& from, const std::string& to) const {
        std::string text = state.Read("Config/Config.ini");
        return text.replace(text.find(from), from.size(), to);
    }

    TempShare state{TempShare::Contents::Sample};
    std::unique_ptr<MountedSim> sim;
};

// The simulator starts only on an empty folder with nothing mounted on it,
// keeps a value in its own form, and stops cleanly.
TEST_F(SimShareTest, KeptValueComesBackInTheServersOwnForm) {
    const TempShare other{TempShare::Contents::Sample};
    const SimRun onFiles = RunSim(state.Root() + " " + other.PathOf("Config"));
    EXPECT_EQ(onFiles.code, 1);
    EXPECT_NE(onFiles.output.find("not an empty folder"), std::string::npos) << onFiles.output;
    // A statistics file that would overwrite the server's files, or cannot
    // be written, is refused before the state folder is touched.
    const TempShare empty;
    const std::string pristine = state.Read("Config/Config.ini");
    for (const std::string& stats : {state.PathOf("Cd/../Config/Config.ini"), empty.PathOf("stats"), empty.PathOf("none/stats")}) {
        const SimRun refused = RunSim(state.Root() + " " + empty.Root() + " --stats " + stats);
        EXPECT_EQ(refused.code, 1);
        EXPECT_NE(refused.output.find("--stats " + stats + ": "), std::string::npos) << refused.output;
    }
    EXPECT_EQ(state.Read("Config/Config.ini"), pristine);
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
    EXPECT_EQ(refused.err, Said({126}));
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
    // A file opened before the restart, written and closed during it: the
    // restarting server takes nothing.
    const int early = ::open((Share() + "/Config/Config.ini").c_str(), O_WRONLY | O_TRUNC);
    EXPECT_EQ(RunCtl({"restart", Share(), "--yes"}).code, 0);
    EXPECT_EQ(RunCtl({"identify", Share()}).code, 2);
    const std::string late = Edited("10.0.0.1", "10.9.9.9");
    EXPECT_LT(::write(early, late.data(), late.size()), 0);
    EXPECT_NE(::close(early), 0);
    EXPECT_EQ(errno, EIO);
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

// The programs' check that a file still holds what they read works through
// the simulator: a file open for writing reads another writer's change made
// meanwhile, under the lock the programs take.
TEST_F(SimShareTest, AChangeMadeWhileAWriterWaitsIsNotLost) {
    const TempShare scratch;
    Start({"--stats", scratch.PathOf("stats")});
    const auto opens = [&] {
        const std::string counts = scratch.Read("stats");
        const size_t at = counts.find("\nopen ");
        return at == std::string::npos ? 0ul : std::stoul(counts.substr(at + 6));
    };
    const SharePtr share = OpenFolderShare(Share());
    const std::string path = share->PathOf("Config/Config.ini");
    const std::string before = state.Read("Config/Config.ini");
    const std::string mine = Edited("192.168.1.1\r", "10.1.1.1\r");
    const std::string theirs = Edited("255.255.255.0", "255.255.0.0");
    std::optional<FileLock> held(std::in_place, path);
    const unsigned long opened = opens();
    bool refused = false;
    std::thread writer([&] {
        try {
            share->Replace(path, before, mine);
        } catch (const FileChangedMeanwhile&) {
            refused = true;
        }
    });
    for (int i = 0; i < 500 && opens() == opened; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // The writer has the file open and waits for the lock: another program changes the file.
    const int other = ::open(path.c_str(), O_WRONLY | O_TRUNC);
    EXPECT_EQ(::write(other, theirs.data(), theirs.size()), static_cast<ssize_t>(theirs.size()));
    EXPECT_EQ(::close(other), 0);
    held.reset();
    writer.join();
    EXPECT_TRUE(refused);
    EXPECT_EQ(Get("IP", "NetMask"), "255.255.0.0\n");
}

// Killed while it saves a file, the server leaves it as it was.
TEST_F(SimShareTest, KilledWhileSavingTheServerKeepsTheFile) {
    if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "no strace to stop the server at its write";
    // The server's first save is at its start; the second, of the value set, is killed at its write.
    const std::string saving = state.PathOf(std::string("Config/") + Appliance::SavingPrefix + "Config.ini");
    sim = std::make_unique<MountedSim>(state.Root(), std::vector<std::string>{},
        std::vector<std::string>{"strace", "-f", "-qq", "-o", "/dev/null", "-P", state.PathOf("Config/Config.ini"),
                                 "-P", saving, "-e", "inject=write:signal=KILL:when=2"});
    ASSERT_TRUE(sim->Mounted());
    const std::string before = state.Read("Config/Config.ini");
    EXPECT_NE(RunCtl({"set", Share(), "IP", "NetMask", "255.0.0.0"}).code, 0);
    EXPECT_EQ(state.Read("Config/Config.ini"), before);
    sim.reset();
    Start({});
    EXPECT_EQ(Get("IP", "NetMask"), "255.255.255.0\n");
}

}  // namespace
