#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "Catalogue.h"
#include "Console.h"
#include "CtlRun.h"
#include "ParameterHandler.h"
#include "ShareFile.h"
#include "StoreDump.h"
#include "TempShare.h"

namespace {

const char* const kConfig = "Config/Config.ini";

std::string valueIn(const TempShare& share, const std::string& section, const std::string& key,
                    const std::string& relative = kConfig, CatalogueKind kind = Configuration) {
    ParameterHandler handler;
    handler.Load(share.Files(), relative, CatalogueOf(kind));
    std::string value;
    EXPECT_TRUE(handler.GetValue(section, key, value)) << section << "/" << key;
    return value;
}

// set takes every value as a row of a page would, or writes nothing; it says
// how the server took them. A restart request, and the restart that travels
// with a set over a file whose FactoryDefaults = yes (which would reset the
// server), are written only when confirmed with --yes.
TEST(CtlSet, ChangesTakenValuesOrWritesNothing) {
    const std::string noRestart = "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = no\r\n[END]\r\n";
    const std::string pending =
        "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = yes\r\nRestart = no\r\n[IP]\r\nNetMask = 255.0.0.0\r\n[END]\r\n";
    const std::vector<std::vector<std::string>> reset = {{"Server", "Restart", "yes"}, {"Server", "FactoryDefaults", "yes"}};
    // file: "" for the sample's; args: the command, then what follows SHARE; messages: exactly these (a failure
    // to write: followed by why), or (none) a refusal's, naming the key; stored: values afterwards, or (none) the
    // file as it was.
    const struct { const char* name; std::string file; std::vector<std::string> args; int code; std::vector<int> messages; std::vector<std::vector<std::string>> stored; } cases[] = {
        {"several at once, as given", "", {"set", "IP", "NetMask", "255.255.0.0", "SNMP", "SystemContact", " Admin ", "SNMP",
                                           "SystemLocation", "check", "NFS", "DefaultUid", "-5"}, 0, {125},
         {{"IP", "NetMask", "255.255.0.0"}, {"SNMP", "SystemContact", "Admin"}, {"SNMP", "SystemLocation", "check"},
          {"NFS", "DefaultUid", "-5"}}},
        {"same value after normalising", "", {"set", "IP", "InternetAddress", "192.168.001.050"}, 0, {124}, {}},
        {"after --, no options", "", {"set", "--", "SNMP", "SystemContact", "--x"}, 0, {125}, {{"SNMP", "SystemContact", "--x"}}},
        {"one refusal refuses all", "", {"set", "IP", "NetMask", "255.255.0.0", "IP", "DefaultRouter", "x"}, 1, {}, {}},
        {"read-only by type", "", {"set", "Server", "HardwareAddress", "00-00-00-00-00-01"}, 1, {}, {}},
        {"a volume's drive", "", {"set", "--file", "Volumes/CDROM2/STAFF.GRP", "", "DriveName", "ID9_LUN0"}, 1, {}, {}},
        {"no such key", "", {"set", "IP", "netmask", "255.0.0.0"}, 1, {}, {}},
        {"date gets its write mark", "", {"set", "Server", "Date", "98-01-02"}, 0, {125}, {{"Server", "Date", "98-01-02!"}}},
        {"set of a restart unconfirmed", "", {"set", "Server", "Restart", "yes"}, 1, {60042, 60017}, {}},
        {"restart", "", {"restart", "--yes"}, 0, {131}, {{"Server", "Restart", "yes"}, {"Server", "FactoryDefaults", "no"}}},
        {"factory defaults", "", {"restart", "--factory-defaults", "--yes"}, 0, {131}, reset},
        {"restart unconfirmed", "", {"restart"}, 1, {60040, 60017}, {}},
        {"factory defaults unconfirmed", "", {"restart", "--factory-defaults"}, 1, {60041, 60017}, {}},
        {"no Restart key", noRestart, {"restart", "--yes"}, 2, {1007}, {}},
        // A restart would carry out the reset the file already asks for.
        {"restart over a pending reset", pending, {"restart", "--yes"}, 1, {60019, 60020}, {}},
        {"reset confirmed", pending, {"restart", "--yes", "--factory-defaults"}, 0, {131}, reset},
        {"set over a pending reset", pending, {"set", "IP", "NetMask", "255.255.0.0"}, 1, {60019, 60043, 60017}, {}},
        {"set over a pending reset, confirmed", pending, {"set", "--yes", "IP", "NetMask", "255.255.0.0"}, 0, {131},
         {{"Server", "Restart", "yes"}, {"IP", "NetMask", "255.255.0.0"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempShare share(TempShare::Contents::Sample);
        if (!c.file.empty()) share.Write(kConfig, c.file);
        const std::string before = share.Read(kConfig);
        const CtlResult result = RunOn(share.Root(), c.args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, "");
        const std::string said = Said(c.messages);
        if (c.messages.empty()) { EXPECT_NE(result.err.find(c.args[c.args.size() - 2]), std::string::npos) << result.err; }
        if (!c.messages.empty() && c.code != 2) { EXPECT_EQ(result.err, said); }
        if (c.code == 2) { EXPECT_EQ(result.err.rfind(said.substr(0, said.size() - 1) + " (", 0), 0u) << result.err; }
        if (c.stored.empty()) { EXPECT_EQ(share.Read(kConfig), before); }
        for (const auto& s : c.stored) EXPECT_EQ(valueIn(share, s[0], s[1]), s[2]) << s[0] << "/" << s[1];
    }
}

TEST(CtlSet, OtherFilesConfirmWithTheirOwnMessage) {
    TempShare share(TempShare::Contents::Sample);
    const CtlResult rights =
        RunCtl({"set", share.Root(), "--file", "Volumes/CDROM1/GUEST.USR", "", "NFSGroup", "007;12", "", "Alias", "V"});
    EXPECT_EQ(rights.code, 0);
    EXPECT_EQ(rights.err, Said({136}));
    EXPECT_EQ(valueIn(share, "", "NFSGroup", "Volumes/CDROM1/GUEST.USR", VolumeRights), "7 ; 12");
    EXPECT_EQ(RunCtl({"set", share.Root(), "--file", "scsi", "ID2_LUN0", "SCSIAlias", "DISC_A"}).err, Said({136}));
}

// A file another program changed between the reading and the writing is
// not written at all: the change was not taken, exit 4. (A value the server
// did not keep is shown over the simulated appliance.)
TEST(CtlSet, AFileChangedMeanwhileIsNotWritten) {
    TempShare share(TempShare::Contents::Sample);
    std::ostringstream out, err;
    Console console{out, err};
    console.beforeWrite = [](const std::string& path) {
        ParameterHandler other;
        other.Load(OpenLocalFiles(), path, CatalogueOf(Configuration));
        other.SetValue("IP", "NetMask", "255.0.0.0");
        other.Write();
    };
    EXPECT_EQ(RunTessaronCtl({"set", share.Root(), "IP", "InternetAddress", "192.168.1.99"}, console), ExitNotTaken);
    EXPECT_EQ(err.str().rfind(LoadString(126), 0), 0u) << err.str();
    EXPECT_NE(err.str().find("changed by another program"), std::string::npos);
    EXPECT_NE(err.str().find("\nnot kept: IP InternetAddress (the file has 192.168.1.50)\n"), std::string::npos);
    EXPECT_EQ(valueIn(share, "IP", "InternetAddress"), "192.168.1.50");
    EXPECT_EQ(valueIn(share, "IP", "NetMask"), "255.0.0.0");
}

// Nor is a file put in the place of the one read (as an editor saves a file) written over.
TEST(CtlSet, AFileReplacedMeanwhileIsNotWrittenOver) {
    TempShare share(TempShare::Contents::Sample);
    std::string replacement = share.Read(kConfig);
    replacement.replace(replacement.find("255.255.255.0"), 13, "255.0.0.000");
    std::ostringstream out, err;
    Console console{out, err};
    console.beforeWrite = [&](const std::string& path) {
        share.Write("Config/new.ini", replacement);
        ASSERT_EQ(std::rename(share.PathOf("Config/new.ini").c_str(), path.c_str()), 0);
    };
    EXPECT_EQ(RunTessaronCtl({"set", share.Root(), "IP", "InternetAddress", "192.168.1.99"}, console), ExitNotTaken);
    EXPECT_NE(err.str().find("changed by another program"), std::string::npos) << err.str();
    EXPECT_EQ(share.Read(kConfig), replacement);
}

// Text travels in the terminal's encoding and is stored as the server's
// Windows-1252 bytes; what the server cannot store is refused by name; a
// value is taken as written, brackets and all. format shows the bytes.
TEST(CtlSet, TextGoesThroughTheServersCharacterSet) {
    // stored: the file's bytes ("" when refused); printed: by get, or the refusal
    const struct { const char* codeset; std::string argument; int code; std::string stored, printed; } cases[] = {
        {"UTF-8", "Caf\xC3\xA9", 0, "Caf\xE9", "Caf\xC3\xA9\n"},
        {"UTF-8", "\xE2\x82\xAC" "5", 0, "\x80" "5", "\xE2\x82\xAC" "5\n"},
        {"ISO-8859-1", "Caf\xE9", 0, "Caf\xE9", "Caf\xE9\n"},
        {"UTF-8", "[Server]", 0, "[Server]", "[Server]\n"},
        {"UTF-8", "smile\xF0\x9F\x98\x80", 1, "", "U+1F600"},
        {"UTF-8", "bad\xC3", 1, "", ""},  // not UTF-8 at all
        {"UTF-8", "bad\xC3(", 1, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        const LocaleText text(c.codeset);
        TempShare share(TempShare::Contents::Sample);
        const std::string before = share.Read(kConfig);
        const CtlResult set = RunCtl({"set", share.Root(), "SNMP", "SystemContact", c.argument}, text);
        EXPECT_EQ(set.code, c.code);
        if (c.code != 0) {
            EXPECT_NE(set.err.find(c.printed), std::string::npos) << set.err;
            EXPECT_EQ(share.Read(kConfig), before);
            continue;
        }
        EXPECT_NE(share.Read(kConfig).find("SystemContact = " + c.stored + "\r\n"), std::string::npos);
        EXPECT_EQ(RunCtl({"get", share.Root(), "SNMP", "SystemContact"}, text).out, c.printed);
        EXPECT_NE(RunCtl({"format", share.PathOf(kConfig)}, text).out.find("SystemContact = " + c.stored + "\n"),
                  std::string::npos);
    }
}

// What a file's bytes read as.
std::string parametersOf(const std::string& bytes) { return Dump(FromText(TextOfBytes(bytes))); }

int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

const std::string kSet = std::string(TESSARON_CTL_BINARY) + " set SHARE IP NetMask 255.255.0.0 2>/dev/null";

std::string commandOn(const TempShare& share, const std::string& prefix) {
    std::string command = prefix + kSet;
    command.replace(command.find("SHARE"), 5, share.Root());
    return command;
}

// A set killed at each system call of its write (and of the reading the
// write begins with) leaves a file that reads as the old parameters or as
// the new ones, never as a mix; so does a file-size limit, which fails the
// write (the old bytes go back) instead of killing the program part-way.
TEST(InterruptedWrite, LeavesTheOldOrTheNewParameters) {
    TempShare fresh(TempShare::Contents::Sample);
    const std::string oldParameters = parametersOf(fresh.Read("Config/Config.ini"));
    ASSERT_EQ(run(commandOn(fresh, "")), 0);
    const std::string newParameters = parametersOf(fresh.Read("Config/Config.ini"));
    ASSERT_NE(newParameters, oldParameters);

    if (run("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed: cannot stop a write part-way";
    // Calls on the configuration file, counted from the start: the second
    // open, lock and first two reads begin the write.
    const char* const stops[] = {"openat:2", "flock:2", "pread64:3", "pwritev:1", "ftruncate:1", "fsync:1"};
    for (const std::string stop : stops) {
        SCOPED_TRACE(stop);
        TempShare share(TempShare::Contents::Sample);
        const std::string call = stop.substr(0, stop.find(':'));
        const std::string strace = "strace -f -qq -o /dev/null -P " + share.PathOf("Config/Config.ini") +
                                   " -e trace=" + call + " -e inject=" + call +
                                   ":signal=KILL:when=" + stop.substr(stop.find(':') + 1) + " ";
        EXPECT_EQ(run(commandOn(share, strace)), 128 + SIGKILL);
        const std::string left = parametersOf(share.Read("Config/Config.ini"));
        EXPECT_TRUE(left == oldParameters || left == newParameters) << left;
    }
    TempShare limited(TempShare::Contents::Sample);
    const std::string before = limited.Read("Config/Config.ini");
    EXPECT_EQ(run(commandOn(limited, "prlimit --fsize=100 ")), 2);
    EXPECT_EQ(limited.Read("Config/Config.ini"), before);
    // A write refused (a full disk) fails at once, the old bytes kept; no leak check can run under strace.
    TempShare full(TempShare::Contents::Sample);
    EXPECT_EQ(run(commandOn(full, "ASAN_OPTIONS=detect_leaks=0 strace -f -qq -o /dev/null -P " + full.PathOf("Config/Config.ini") +
                                      " -e trace=pwritev -e inject=pwritev:error=ENOSPC:when=1 ")), 2);
    EXPECT_EQ(full.Read("Config/Config.ini"), before);
}

}  // namespace
