#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <utility>
#include <memory>

#include "Appliance.h"
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
    void WaitUntilUp() const { WaitFor([this] { return RunCtl({"identify", Share()}).code == 0; }); }
    std::string Log() const { return state.Read("Config/Logfile.txt"); }

    TempShare state{TempShare::Contents::Sample};
    std::unique_ptr<MountedSim> sim;
};

// The simulator starts only on an empty folder with nothing mounted on it,
// keeps a value in its own form, and stops cleanly.
TEST_F(SimShareTest, KeptValueComesBackInTheServersOwnForm) {
    const TempShare other{TempShare::Contents::Sample}, empty;
    const std::string pristine = state.Read("Config/Config.ini");
    // Refused before the state folder is touched: a mount point with files; a statistics file that would
    // overwrite the server's files or write into its own mount, or cannot be written.
    for (const auto& [args, said] : std::vector<std::pair<std::string, std::string>>{
             {other.PathOf("Config"), "not an empty folder"},
             {empty.Root() + " --stats " + state.PathOf("Cd/../Config/Config.ini"), "must lie outside the state folder"},
             {empty.Root() + " --stats " + empty.PathOf("stats"), "must lie outside"},
             {empty.Root() + " --stats " + empty.PathOf("none/stats"), "No such file"}}) {
        const SimRun refused = RunSim(state.Root() + " " + args);
        EXPECT_TRUE(refused.code == 1 && refused.output.find(said) != std::string::npos) << refused.output;
    }
    EXPECT_EQ(state.Read("Config/Config.ini"), pristine);
    EXPECT_EQ(RunSim("--version").output, "tessaron-sim 1.00\n");  // alone: the program's version
    Start({});
    EXPECT_EQ(RunCtl({"set", Share(), "IP", "DefaultRouter", "192.168.1.254"}).code, 0);
    const std::string config = state.Read("Config/Config.ini");
    EXPECT_EQ(config.rfind("; QUOR Tessaron CD-ROM Server V4.00 ", 0), 0u) << config;
    EXPECT_NE(config.find("\r\nDefaultRouter = 192.168.1.254\r\n"), std::string::npos);
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
    // The history keeps the write as the server's read-back judged it.
    const std::string listed = RunCtl({"history", Share()}).out;
    EXPECT_NE(listed.find("\ttessaron-ctl\tConfig/Config.ini\t1\tnot kept\n"), std::string::npos) << listed;
    EXPECT_EQ(RunCtl({"identify", Share()}).out, "product: QUOR Tessaron HD\nversion: 3.07\nkind: 1\nserial:  9999-0001\n");
}

// A restart takes the share away for a while; factory defaults bring back
// the starting state. Like the desktop's SMB mounts, this share takes no
// read-write open of a file: the programs replace the whole file.
TEST_F(SimShareTest, RestartAndFactoryDefaults) {
    Start({"--restart-seconds", "2", "--no-read-write-open"});
    EXPECT_EQ(RunCtl({"set", Share(), "IP", "DefaultRouter", "10.0.0.1"}).code, 0);
    // A file opened before the restart, written and closed during it: the restarting server takes nothing.
    const int early = ::open((Share() + "/Config/Config.ini").c_str(), O_WRONLY | O_TRUNC);
    EXPECT_EQ(RunCtl({"restart", Share(), "--yes"}).code, 0);
    EXPECT_EQ(RunCtl({"identify", Share()}).code, 2);
    const std::string late = "[IP]\r\nDefaultRouter = 10.9.9.9\r\n[END]\r\n";
    EXPECT_LT(::write(early, late.data(), late.size()), 0);
    EXPECT_TRUE(::close(early) != 0 && errno == EIO);
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

// A file opened before another program's change reads that change, so the programs' check that
// the file still holds what they read, made after they open and lock it, works through the simulator.
TEST_F(SimShareTest, AnOpenFileReadsAChangeMadeMeanwhile) {
    Start({});
    const int early = ::open((Share() + "/Config/Config.ini").c_str(), O_RDWR);
    EXPECT_EQ(RunCtl({"set", Share(), "IP", "NetMask", "255.255.0.0"}).code, 0);
    std::string seen(64 * 1024, '\0');
    seen.resize(static_cast<size_t>(std::max<ssize_t>(0, ::pread(early, seen.data(), seen.size(), 0))));
    EXPECT_EQ(seen, state.Read("Config/Config.ini"));
    ::close(early);
}

// A set of one value costs few round trips to the server: the share resolved once, the file read on
// the open that writes it, read back after the close, no attributes asked for that nothing uses.
TEST_F(SimShareTest, ASetTakesFewRoundTrips) {
    const TempShare scratch;
    const std::string stats = scratch.PathOf("stats");
    Start({"--stats", stats});
    const auto operations = [&] {
        std::ifstream in(stats);
        std::string word;
        long count = 0;
        in >> word >> count;
        return count;
    };
    const long before = operations();
    ASSERT_EQ(RunCtl({"set", Share(), "IP", "NetMask", "255.255.0.0"}).code, 0);
    long last = -1;  // the file's release comes after its close: counted once nothing more comes
    WaitFor([&] {
        const long now = operations();
        return std::exchange(last, now) == now;
    });
    EXPECT_LE(operations() - before, 15);
}

// Killed at its write while it saves a file, the server leaves the file as it was.
TEST_F(SimShareTest, KilledWhileSavingTheServerKeepsTheFile) {
    if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "no strace to stop the server at its write";
    const std::string config = state.PathOf("Config/Config.ini"), before = state.Read("Config/Config.ini");
    // The first save is the server's start, the second the value set.
    sim = std::make_unique<MountedSim>(state.Root(), std::vector<std::string>{}, std::vector<std::string>{"strace",
        "-f", "-qq", "-o", "/dev/null", "-P", config, "-P", state.PathOf(std::string("Config/") + Appliance::SavingPrefix +
        "Config.ini"), "-e", "inject=write:signal=KILL:when=2"});
    ASSERT_TRUE(sim->Mounted());
    EXPECT_NE(RunCtl({"set", Share(), "IP", "NetMask", "255.0.0.0"}).code, 0);
    EXPECT_EQ(state.Read("Config/Config.ini"), before);
}

}  // namespace
