#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>

#include <gtest/gtest.h>

#include "CtlRun.h"
#include "Discovery.h"
#include "LocalState.h"
#include "TempShare.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string applianceLine(const std::string& serial) {
    return "; QUOR Tessaron CD-ROM Server V4.00 (c) QUOR Systems GmbH   S/N: " + serial + "\r\n[IP]\r\n";
}

// A share's probe line, in short: its address (below base), whether it is
// an appliance, its serial number, and whether it says why it was not read.
std::string summary(const FoundShare& share, const std::string& base) {
    std::string address = share.address;
    if (address.compare(0, base.size(), base) == 0) address.erase(0, base.size());
    return address + (share.appliance ? " appliance " + share.serial : " plain") + (share.problem.empty() ? "" : " unread");
}

TEST(Discovery, TheMountsAreFoundAfterTheRecentShares) {
    TempShare gvfs;
    fs::create_directories(gvfs.PathOf("smb-share:server=tessaron1,share=cd"));
    fs::create_directories(gvfs.PathOf("ftp:host=tessaron2"));
    const MountSources mounts{"//tessaron3/cd /mnt/t3 cifs rw 0 0\n/dev/sda1 /mnt/local ext4 rw 0 0\n", gvfs.Root()};
    std::vector<std::string> targets;
    for (const ProbeTarget& target : KnownTargets(mounts, {"smb://tessaron9/cd", "/srv/copy"})) {
        targets.push_back(std::string(FoundByName(target.how)) + " " + target.target);
    }
    EXPECT_EQ(targets, (std::vector<std::string>{"recent smb://tessaron9/cd", "recent /srv/copy", "mounted /mnt/t3",
                                                 "mounted " + gvfs.PathOf("smb-share:server=tessaron1,share=cd")}));
}

// What the probe finds at a folder: a share, else the shares one level down, else the folder as a plain share.
TEST(Discovery, TheProbeLooksAtAFolderAndOneLevelDown) {
    const TempShare place;
    const std::string base = fs::canonical(place.Root()).string() + "/";
    place.Write("cd/Config/Config.ini", applianceLine("1111"));
    place.Write("nas/Config/Config.ini", "; Some other box\r\n");
    fs::create_directories(place.PathOf("pipe/Config"));
    ASSERT_EQ(::mkfifo(place.PathOf("pipe/Config/Config.ini").c_str(), 0600), 0);  // never read: no writer comes
    place.Write("top/a/Config/Config.ini", applianceLine("2222"));
    fs::create_directories(place.PathOf("top/b/Docs"));
    fs::create_directory_symlink(place.PathOf("cd"), place.PathOf("top/link"));  // may lead anywhere: left alone
    fs::create_directories(place.PathOf("empty"));
    const struct { const char* target; bool probed; std::vector<std::string> found; } cases[] = {
        {"cd", true, {"cd appliance 1111"}},
        {"nas", true, {"nas plain"}},
        {"pipe", true, {"pipe plain unread"}},
        {"top", true, {"top/a appliance 2222"}},
        {"empty", true, {"empty plain"}},
        {"gone", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        std::ostringstream out, err;
        EXPECT_EQ(ProbeShares(place.PathOf(c.target), {}, out, err), c.probed);
        std::vector<std::string> found;
        for (const FoundShare& share : ProbeLines(out.str(), FoundBy::Mounted)) found.push_back(summary(share, base));
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(err.str().find(c.target) != std::string::npos, !c.probed) << err.str();
    }
}

TEST(Discovery, AHostIsANameOrAddressWithAPort) {
    const std::pair<const char*, const char*> cases[] = {
        {"tessaron1", "smb://tessaron1"}, {"127.0.0.1:4455", "smb://127.0.0.1:4455"}, {"host:", "smb://host"},
        {"host:0", nullptr}, {"host:65536", nullptr}, {"host:44x", nullptr}, {"a/b", nullptr}, {"a%2Fb", nullptr},
        {"user@host", nullptr}, {"\\\\host\\cd", nullptr}, {"", nullptr},
    };
    for (const auto& [host, address] : cases) {
        ProbeTarget target;
        EXPECT_EQ(HostTarget(host, target), address != nullptr) << host;
        if (address) { EXPECT_EQ(target.target, address) << host; }
    }
    EXPECT_EQ(RunCtl({"discover", "tessaron1", "a/b"}).code, ExitUsage);
}

// A probe that does not answer in time is killed at its limit, and its shares found by then are kept; a
// probe that cannot start says why. The probes are given the environment they are told.
TEST(Discovery, EveryProbeEndsAtItsTimeLimit) {
    const TempShare place;
    const auto program = [&](const std::string& name, const std::string& body) {
        place.Write(name, "#!/bin/sh\n" + body + "\n");
        fs::permissions(place.PathOf(name), fs::perms::owner_all);
        return place.PathOf(name);
    };
    const std::string slow = program("slow", "printf 'smb%%3A%%2F%%2Fh%%2Fcd\\t1\\tP\\tV\\tS\\t\\nsmb'; exec sleep 30");
    const std::string user = program("user", "printf 'u\\t1\\tP\\tV\\t%s\\t\\n' \"$TESSARON_SMB_USER\"");
    ::setenv("TESSARON_SMB_USER", "inherited", 1);
    const struct { std::string program; std::vector<std::string> environment; int targets; std::vector<std::string> found; } cases[] = {
        {slow, {}, 3, {"smb://h/cd appliance S", "t: no answer within 0.3 s"}},
        {place.PathOf("missing"), {}, 1, {"t: " + place.PathOf("missing") + ": No such file or directory"}},
        {user, {"TESSARON_SMB_USER=given"}, 1, {"u appliance given"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        std::vector<std::string> found;
        Discovery discovery({c.program, c.environment, 300ms, 2}, [&](const FoundShare& share) {
            found.push_back(share.reached ? summary(share, "") : share.address + ": " + share.problem);
        });
        for (int i = 0; i < c.targets; ++i) discovery.Add({"t", FoundBy::Mounted});
        const auto start = std::chrono::steady_clock::now();
        discovery.Step(0ms);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);  // a step waits no longer than told
        discovery.Run();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);  // two rounds of two slow probes
        std::vector<std::string> expected;
        for (int i = 0; i < c.targets; ++i) expected.insert(expected.end(), c.found.begin(), c.found.end());
        EXPECT_EQ(found, expected);
    }
    ::unsetenv("TESSARON_SMB_USER");
}

// discover over the desktop's mounts and the recent shares, which come first; a share opened before that
// is gone is named on standard error.
class DiscoverCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* value = std::getenv("XDG_RUNTIME_DIR")) runtimeBefore = value;
        ::setenv("XDG_RUNTIME_DIR", desktop.Root().c_str(), 1);
        ::setenv("XDG_STATE_HOME", desktop.PathOf("state").c_str(), 1);
        ::setenv("TESSARON_CTL", TESSARON_CTL_BINARY, 1);
        ::unsetenv("TESSARON_HISTORY");
    }
    void TearDown() override {
        runtimeBefore ? ::setenv("XDG_RUNTIME_DIR", runtimeBefore->c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("XDG_STATE_HOME", TESSARON_TEST_STATE, 1);
    }
    TempShare desktop;
    std::optional<std::string> runtimeBefore;
};

TEST_F(DiscoverCommandTest, ListsTheAppliancesRecentFirst) {
    desktop.Write("gvfs/smb-share:server=tessaron1,share=cd/Config/Config.ini", applianceLine("1111"));
    desktop.Write("gvfs/smb-share:server=nas,share=data/x/Config/Config.ini", applianceLine("2222"));
    fs::create_directories(desktop.PathOf("gvfs/smb-share:server=nas,share=plain/Docs"));
    NoteRecentShare("/gone/share");
    NoteRecentShare("smb://tessaron1/cd");
    const std::string found = "smb://tessaron1/cd\trecent\tQUOR Tessaron CD\t4.00\t1111\n"
                              "smb://nas/data/x\tmounted\tQUOR Tessaron CD\t4.00\t2222\n";
    const struct { std::vector<std::string> args; int code; std::string out; } cases[] = {
        {{"discover"}, 0, found},
        {{"discover", "--all", "--timeout", "5"}, 0, found + "smb://nas/plain\tmounted\t\t\t\n"},
    };
    for (const auto& c : cases) {
        const CtlResult result = RunCtl(c.args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, "/gone/share: No such file or directory\n");
    }
    const nlohmann::json json = nlohmann::json::parse(RunCtl({"discover", "--json"}).out);
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[1], (nlohmann::json{{"address", "smb://nas/data/x"}, {"how", "mounted"}, {"product", "QUOR Tessaron CD"},
                                       {"version", "4.00"}, {"serial", "2222"}}));
    ::setenv("TESSARON_HISTORY", "off", 1);  // nor a recent list
    fs::remove_all(desktop.PathOf("gvfs/smb-share:server=tessaron1,share=cd"));
    fs::remove_all(desktop.PathOf("gvfs/smb-share:server=nas,share=data"));
    const CtlResult none = RunCtl({"discover"});
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.out, "");
}

}  // namespace
