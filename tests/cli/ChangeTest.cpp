#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Catalogue.h"
#include "CtlRun.h"
#include "History.h"
#include "ParameterHandler.h"
#include "ShareLocation.h"
#include "TempShare.h"

namespace {

namespace fs = std::filesystem;

const char* const kConfig = "Config/Config.ini";

// The history of changes in a folder of the test's own.
class CtlHistory : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tessaron-ctl-state-" + std::to_string(::getpid()));
        fs::remove_all(root);
        ::setenv("XDG_STATE_HOME", root.c_str(), 1);
        ::unsetenv("TESSARON_HISTORY");
    }
    void TearDown() override {
        fs::remove_all(root);
        ::setenv("XDG_STATE_HOME", TESSARON_TEST_STATE, 1);
        ::unsetenv("TESSARON_HISTORY");
    }
    static std::string valueIn(const TempShare& share, const std::string& section, const std::string& key) {
        ParameterHandler handler;
        handler.Load(share.Files(), kConfig, CatalogueOf(Configuration));
        std::string value;
        handler.GetValue(section, key, value);
        return value;
    }
    fs::path root;
};

// A trial run checks what the real one checks and writes nothing; what it
// prints is exactly the change set the real run then writes and records.
TEST_F(CtlHistory, DryRunPrintsWhatTheRealRunWrites) {
    const std::string pending = "[Server]\r\nFactoryDefaults = yes\r\nRestart = no\r\n[IP]\r\nNetMask = 255.0.0.0\r\n[END]\r\n";
    const std::string noRestart = "[Server]\r\nFactoryDefaults = yes\r\n[IP]\r\nNetMask = 255.0.0.0\r\n[END]\r\n";
    const std::string f = "Config/Config.ini\t";
    // file: "" for the sample's; args: after SHARE, --dry-run added; err: the messages, or (none) a refusal
    const struct { std::string file; std::vector<std::string> args; int code; std::string out; std::vector<int> err; } cases[] = {
        {"", {"set", "IP", "NetMask", "255.255.0.0", "HTTP/FTP", "Password", "x"}, 0,
         f + "IP\tNetMask\t255.255.255.0\t255.255.0.0\n" + f + "HTTP/FTP\tPassword\t********\t********\n", {}},
        {"", {"set", "IP", "InternetAddress", "192.168.001.050"}, 0, "", {124}},
        {"", {"set", "IP", "DefaultRouter", "x"}, 1, "", {}},
        {"", {"set", "Server", "Restart", "yes"}, 1, f + "Server\tRestart\tno\tyes\n", {60042, 60017}},
        {"", {"set", "--yes", "Server", "Restart", "yes"}, 0, f + "Server\tRestart\tno\tyes\n", {60042}},
        {pending, {"set", "IP", "NetMask", "255.255.0.0"}, 1,
         f + "IP\tNetMask\t255.0.0.0\t255.255.0.0\n" + f + "Server\tRestart\tno\tyes\n", {60019, 60043, 60017}},
        {noRestart, {"set", "--yes", "IP", "NetMask", "255.255.0.0"}, 2, "", {1007}},
        {"", {"restart"}, 1, f + "Server\tRestart\tno\tyes\n", {60040, 60017}},
        {"", {"restart", "--yes", "--factory-defaults"}, 0,
         f + "Server\tFactoryDefaults\tno\tyes\n" + f + "Server\tRestart\tno\tyes\n", {60041}},
        {pending, {"restart", "--yes"}, 1, f + "Server\tRestart\tno\tyes\n", {60019, 60040, 60020}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        TempShare share(TempShare::Contents::Sample);
        if (!c.file.empty()) share.Write(kConfig, c.file);
        const std::string before = share.Read(kConfig);
        std::vector<std::string> args = c.args;
        args.push_back("--dry-run");
        const CtlResult trial = RunOn(share.Root(), args);
        EXPECT_EQ(trial.code, c.code);
        EXPECT_EQ(trial.out, c.out);
        if (!c.err.empty() && c.code != 2) { EXPECT_EQ(trial.err, Said(c.err)); }
        if (c.code == 2) { EXPECT_EQ(trial.err.rfind(LoadString(c.err[0]) + " (", 0), 0u) << trial.err; }
        EXPECT_EQ(share.Read(kConfig), before);
        if (c.code != 0 || c.out.empty()) continue;
        ASSERT_EQ(RunOn(share.Root(), c.args).code, 0);
        EXPECT_NE(share.Read(kConfig), before);
        EXPECT_EQ(RunOn(share.Root(), {"history", "--show", "1"}).out, c.out);
    }
    TempShare share(TempShare::Contents::Sample);
    const CtlResult json = RunOn(share.Root(), {"set", "--dry-run", "--json", "Server", "Restart", "yes"});
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::parse(R"({"file": "Config/Config.ini",
        "changes": [{"section": "Server", "key": "Restart", "old": "no", "new": "yes"}],
        "confirmations": ["Setting Restart to \"yes\" will cause the server to restart.\n\nAre you sure you want to continue?"]})"));
    EXPECT_EQ(json.code, 1);
}

// diff compares parameter by parameter with a file or the same file of
// another share: order, remarks and spelling of equal values do not count.
TEST_F(CtlHistory, DiffComparesWithAFileOrAnotherShare) {
    TempShare mine(TempShare::Contents::Sample);
    TempShare other(TempShare::Contents::Sample);
    std::string respelt = mine.Read(kConfig);
    respelt.replace(respelt.find("NetMask = 255.255.255.0"), 23, "NetMask=255.255.255.000");
    other.Write("respelt.ini", respelt);
    other.Write(kConfig, "[IP]\r\nNetMask = 255.0.0.0\r\nGone = \x1b\r\n[SMB]\r\nPassword = secret\r\n[New]\r\nx = 1\r\n");
    // said: lines the output holds
    const struct { std::vector<std::string> args; int code; std::vector<std::string> said; } cases[] = {
        {{"diff", other.PathOf("respelt.ini")}, 0, {}},
        {{"diff", other.Root()}, 1, {"Server\t*\t\t-\n", "IP\tNetMask\t255.255.255.0\t255.0.0.0\n", "IP\tGone\t-\t\\x1b\n",
                                     "SMB\tPassword\t-\t********\n", "New\t*\t-\t\n"}},
        {{"diff", "--file", "Volumes/CDROM1/NONE.USR", other.Root()}, 2, {}},
        {{"diff", mine.Root() + "/gone"}, 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CtlResult result = RunOn(mine.Root(), c.args);
        EXPECT_EQ(result.code, c.code);
        for (const std::string& line : c.said) EXPECT_NE(result.out.find(line), std::string::npos) << line;
        EXPECT_EQ(result.out.empty(), c.said.empty());
    }
    const nlohmann::json json = nlohmann::json::parse(RunOn(mine.Root(), {"diff", other.PathOf(kConfig), "--json"}).out);
    EXPECT_EQ(json["differences"][0], nlohmann::json::parse(R"({"section": "Server", "key": "*", "this": "", "other": null})"));
    EXPECT_EQ(json["differences"].back(), nlohmann::json::parse(R"({"section": "New", "key": "*", "this": null, "other": ""})"));
}

// The times in a history listing, as T.
std::string withoutTimes(const std::string& listing) {
    return std::regex_replace(listing, std::regex("\t[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}[+-][0-9]{2}:[0-9]{2}\t"), "\tT\t");
}

// One share's writes listed, undone (the newest or an older one; refused
// over a later change unless forced) and an emptied file written back.
TEST_F(CtlHistory, WritesAreListedUndoneAndRestored) {
    TempShare share(TempShare::Contents::Sample);
    const std::string restore = "  tessaron-ctl restore " + share.Root() + " 7 --yes\n";
    // empty: the file is emptied first; said: a text standard error holds; netMask: its value afterwards
    const struct { bool empty; std::vector<std::string> args; int code; std::string out, said, netMask; } steps[] = {
        {false, {"set", "IP", "NetMask", "255.255.0.0"}, 0, "", "", "255.255.0.0"},
        {false, {"set", "SNMP", "SystemContact", "Bob"}, 0, "", "", "255.255.0.0"},
        {false, {"history"}, 0, "2\tT\ttessaron-ctl\tConfig/Config.ini\t1\twritten\n"
                                "1\tT\ttessaron-ctl\tConfig/Config.ini\t1\twritten\n", "", "255.255.0.0"},
        {false, {"history", "--file", "scsi"}, 0, "", "", "255.255.0.0"},
        {false, {"history", "--show", "1"}, 0, "Config/Config.ini\tIP\tNetMask\t255.255.255.0\t255.255.0.0\n", "", "255.255.0.0"},
        {false, {"undo", "1", "--dry-run"}, 0, "Config/Config.ini\tIP\tNetMask\t255.255.0.0\t255.255.255.0\n", "", "255.255.0.0"},
        {false, {"set", "IP", "NetMask", "255.0.0.0"}, 0, "", "", "255.0.0.0"},
        {false, {"undo", "1"}, 4, "", "[IP] NetMask (it wrote 255.255.0.0, the file has 255.0.0.0).\n" + LoadString(60107),
         "255.0.0.0"},
        {false, {"undo"}, 0, "", "", "255.255.0.0"},  // the newest: write 3
        {false, {"undo", "2"}, 0, "", "", "255.255.0.0"},
        {false, {"set", "IP", "NetMask", "255.0.0.0"}, 0, "", "", "255.0.0.0"},
        {false, {"undo", "1", "--force"}, 0, "", "", "255.255.255.0"},
        {false, {"history", "--show", "9"}, 1, "", "holds no write 9", "255.255.255.0"},
        {true, {"get", "IP", "NetMask"}, 2, "", "holds the last write of Config/Config.ini: write 7, made at ", ""},
        {false, {"get", "IP", "NetMask"}, 2, "", restore, ""},
        {false, {"restore", "7"}, 1, "", "back as write 7 left it at", ""},
        {false, {"restore", "7", "--yes"}, 0, "", "has been written back as write 7 left it", "255.255.255.0"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::PrintToString(step.args));
        if (step.empty) share.Write(kConfig, "");
        const CtlResult result = RunOn(share.Root(), step.args);
        EXPECT_EQ(result.code, step.code);
        EXPECT_EQ(withoutTimes(result.out), step.out);
        EXPECT_NE(result.err.find(step.said), std::string::npos) << result.err;
        if (!step.netMask.empty()) { EXPECT_EQ(valueIn(share, "IP", "NetMask"), step.netMask); }
    }
    EXPECT_EQ(valueIn(share, "SNMP", "SystemContact"), "Helpdesk");
    const nlohmann::json listed = nlohmann::json::parse(RunOn(share.Root(), {"history", "--json"}).out);
    ASSERT_EQ(listed.size(), 8u);  // newest first
    EXPECT_EQ(listed.front()["id"], 8);
    EXPECT_EQ(listed.back()["id"], 1);
    const History history(ShareAddress(share.Root()));
    EXPECT_EQ(share.Read(kConfig), history.BytesAfter(7));
    EXPECT_EQ(history.BytesBefore(8), "");
}

// Every write of the command line is recorded with the serial number of
// that moment and its bytes, unless the history is off; a history that
// cannot be written is said once and the write stands.
TEST_F(CtlHistory, EveryWriteIsRecordedUnlessTheHistoryIsOff) {
    // history: "off", "unwritable" or kept; changes: the number recorded, or -1 for no record
    const struct { const char* history; std::vector<std::string> args; int changes; std::string file; } cases[] = {
        {"", {"set", "IP", "NetMask", "255.255.0.0"}, 1, kConfig},
        {"", {"restart", "--yes"}, 1, kConfig},
        {"", {"set", "--file", "scsi", "ID2_LUN0", "SCSIAlias", "DISC_A"}, 1, "Config/scsi.ini"},
        {"", {"format", "--in-place", "Config/scsi.ini"}, 0, "Config/scsi.ini"},
        {"off", {"set", "IP", "NetMask", "255.255.0.0"}, -1, kConfig},
        {"unwritable", {"set", "IP", "NetMask", "255.255.0.0"}, -1, kConfig},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args) + c.history);
        TempShare share(TempShare::Contents::Sample);
        const std::string before = share.Read(c.file);
        fs::remove_all(root);
        if (std::string(c.history) == "off") ::setenv("TESSARON_HISTORY", "off", 1);
        if (std::string(c.history) == "unwritable") std::ofstream(root.string()) << "a file, not a folder";
        std::vector<std::string> args = c.args;
        args[args.size() - 1] = args[0] == "format" ? share.PathOf(args.back()) : args.back();
        const CtlResult result = args[0] == "format" ? RunCtl(args) : RunOn(share.Root(), args);
        ::unsetenv("TESSARON_HISTORY");
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(result.err.find("could not be kept (") != std::string::npos, std::string(c.history) == "unwritable");
        EXPECT_NE(share.Read(c.file), before);  // the write stands
        if (std::string(c.history) == "unwritable") fs::remove(root);
        const std::vector<HistoryEntry> entries = History(ShareAddress(share.Root())).Entries();
        ASSERT_EQ(entries.size(), c.changes < 0 ? 0u : 1u);
        if (entries.empty()) continue;
        EXPECT_EQ(entries[0].changes.file, c.file);
        EXPECT_EQ(entries[0].changes.changes.size(), static_cast<size_t>(c.changes));
        EXPECT_EQ(entries[0].serial, " 1234-5678");
        EXPECT_EQ(entries[0].program, "tessaron-ctl");
        EXPECT_TRUE(entries[0].kept);
        EXPECT_EQ(History(ShareAddress(share.Root())).BytesBefore(entries[0].id), before);
        EXPECT_EQ(History(ShareAddress(share.Root())).BytesAfter(entries[0].id), share.Read(c.file));
    }
}

}  // namespace
