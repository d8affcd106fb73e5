#include <gtest/gtest.h>

#include <functional>

#include "Catalogue.h"
#include "CtlCommands.h"
#include "CtlRun.h"
#include "StringTable.h"
#include "ParameterHandler.h"
#include "TempShare.h"

namespace {

const char* const kConfig = "Config/Config.ini";

std::string valueIn(const TempShare& share, const std::string& relative, CatalogueKind kind,
                    const std::string& section, const std::string& key) {
    ParameterHandler handler;
    handler.Load(share.Files(), relative, CatalogueOf(kind));
    std::string value;
    EXPECT_TRUE(handler.GetValue(section, key, value)) << section << "/" << key;
    return value;
}

struct SetCase {
    const char* name;
    std::vector<std::string> args;  // after "set SHARE"
    int code;
    std::vector<int> messages;  // exactly these, in order; empty: not compared
    // Expected stored values afterwards (section, key, value) in Config.ini;
    // none when the file must stay byte for byte as it was.
    std::vector<std::vector<std::string>> stored;
};

TEST(CtlSet, ChangesCheckedValuesOrWritesNothing) {
    const SetCase cases[] = {
        {"plain change", {"IP", "InternetAddress", "192.168.1.77"}, 0, {125},
         {{"IP", "InternetAddress", "192.168.1.77"}}},
        {"normalised before it is stored", {"IP", "DefaultRouter", " 192.168.001.254 "}, 0, {125},
         {{"IP", "DefaultRouter", "192.168.1.254"}}},
        {"several at once", {"IP", "NetMask", "255.255.0.0", "SNMP", "SystemContact", "Admin"}, 0, {125},
         {{"IP", "NetMask", "255.255.0.0"}, {"SNMP", "SystemContact", "Admin"}}},
        {"same value is no change", {"IP", "InternetAddress", "192.168.1.50"}, 0, {124}, {}},
        {"same value after normalising", {"IP", "InternetAddress", "192.168.001.050"}, 0, {124}, {}},
        {"invalid value", {"IP", "InternetAddress", "300.1.1.1"}, 1, {}, {}},
        {"one refusal refuses all", {"IP", "NetMask", "255.255.0.0", "IP", "DefaultRouter", "x"}, 1, {}, {}},
        {"read-only by type", {"Server", "HardwareAddress", "00-00-00-00-00-01"}, 1, {}, {}},
        {"no such section", {"Nowhere", "Restart", "yes"}, 1, {}, {}},
        {"no such key", {"IP", "Gateway", "1.2.3.4"}, 1, {}, {}},
        {"keys are case-sensitive", {"IP", "netmask", "255.0.0.0"}, 1, {}, {}},
        {"line break refused", {"SNMP", "SystemContact", "a\nb"}, 1, {}, {}},
        {"upper-case box", {"SMB", "ServerName", "cdserver"}, 0, {125}, {{"SMB", "ServerName", "CDSERVER"}}},
        {"length limit", {"SMB", "ServerName", "ABCDEFGHIJKLMNOP"}, 1, {}, {}},
        {"choice in other letter case", {"SMB", "EnableNBT", "NO"}, 0, {125}, {{"SMB", "EnableNBT", "no"}}},
        {"not a choice", {"SMB", "EnableNBT", "perhaps"}, 1, {}, {}},
        {"typed NetWare address", {"NetWare", "TimeSyncSources", "0A-01-02-FF"}, 0, {125},
         {{"NetWare", "TimeSyncSources", "0A-01-02-FF"}}},
        {"date gets its write mark", {"Server", "Date", "98-01-02"}, 0, {125}, {{"Server", "Date", "98-01-02!"}}},
        {"invalid date", {"Server", "Date", "98-13-02"}, 1, {}, {}},
        {"negative number", {"NFS", "DefaultUid", "-5"}, 0, {125}, {{"NFS", "DefaultUid", "-5"}}},
        {"value named like a command", {"SNMP", "SystemLocation", "check"}, 0, {125},
         {{"SNMP", "SystemLocation", "check"}}},
        {"unknown key, not checked", {"Server", "LogLevel", "3"}, 0, {125}, {{"Server", "LogLevel", "3"}}},
        {"list key gathers its lines", {"NFS", "Export", "/CDROM1;/CDROM3"}, 0, {125},
         {{"NFS", "Export", "/CDROM1 ; /CDROM3"}}},
        {"restart needs --yes", {"Server", "Restart", "yes"}, 1, {128, 60017}, {}},
        {"factory defaults need --yes", {"Server", "FactoryDefaults", "yes"}, 1, {129, 60017}, {}},
        {"restart confirmed", {"--yes", "Server", "Restart", "yes"}, 0, {131},
         {{"Server", "Restart", "yes"}, {"Server", "FactoryDefaults", "no"}}},
        {"factory defaults bring a restart", {"Server", "FactoryDefaults", "yes", "--yes"}, 0, {131},
         {{"Server", "Restart", "yes"}, {"Server", "FactoryDefaults", "yes"}}},
        {"restart value other than yes", {"Server", "Restart", "no"}, 0, {124}, {}},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempShare share(TempShare::Contents::Sample);
        const std::string before = share.Read(kConfig);
        std::vector<std::string> args{"set", share.Root()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, "");
        if (!c.messages.empty()) {
            std::string expected;
            for (int id : c.messages) expected += Said({id});
            EXPECT_EQ(result.err, expected);
        } else {
            EXPECT_FALSE(result.err.empty());
        }
        if (c.stored.empty()) {
            EXPECT_EQ(share.Read(kConfig), before);
            continue;
        }
        for (const std::vector<std::string>& s : c.stored) {
            EXPECT_EQ(valueIn(share, kConfig, Configuration, s[0], s[1]), s[2]) << s[0] << "/" << s[1];
        }
        const std::string after = share.Read(kConfig);
        EXPECT_EQ(after.substr(after.size() - 7), "[END]\r\n");
    }
}

TEST(CtlSet, OtherFilesConfirmWithTheirOwnMessage) {
    struct OtherCase {
        const char* file;
        const char* relative;
        CatalogueKind kind;
        std::vector<std::string> assignment;
        const char* stored;
    };
    const OtherCase cases[] = {
        {"Volumes/CDROM1/GUEST.USR", "Volumes/CDROM1/GUEST.USR", VolumeRights, {"", "UserLimit", "20"}, "20"},
        {"Volumes/CDROM1/GUEST.USR", "Volumes/CDROM1/GUEST.USR", VolumeRights, {"", "NFSGroup", "007;12"},
         "7 ; 12"},
        {"scsi", "Config/scsi.ini", ScsiDrives, {"ID2_LUN0", "SCSIAlias", "DISC_A"}, "DISC_A"},
    };
    for (const OtherCase& c : cases) {
        SCOPED_TRACE(c.file);
        TempShare share(TempShare::Contents::Sample);
        std::vector<std::string> args{"set", share.Root(), "--file", c.file};
        args.insert(args.end(), c.assignment.begin(), c.assignment.end());
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(result.err, Said({136}));
        EXPECT_EQ(valueIn(share, c.relative, c.kind, c.assignment[0], c.assignment[1]), c.stored);
    }
}

TEST(CtlSet, VolumeRightsFileKeepsEmptyListsOut) {
    TempShare share(TempShare::Contents::Sample);
    ASSERT_EQ(RunCtl({"set", share.Root(), "--file", "Volumes/CDROM1/GUEST.USR", "", "Alias", "Visitor"}).code, 0);
    const std::string after = share.Read("Volumes/CDROM1/GUEST.USR");
    EXPECT_NE(after.find("Alias = Visitor\r\n"), std::string::npos);
    EXPECT_EQ(after.find("SMBPassword"), std::string::npos);
    EXPECT_NE(after.find("Comment = Read-only access; no password needed\r\n"), std::string::npos);
}

TEST(CtlSet, DriveNameOfAVolumeCannotBeChanged) {
    TempShare share(TempShare::Contents::Sample);
    const std::string before = share.Read("Volumes/CDROM2/STAFF.GRP");
    const CtlResult result =
        RunCtl({"set", share.Root(), "--file", "Volumes/CDROM2/STAFF.GRP", "", "DriveName", "ID9_LUN0"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(share.Read("Volumes/CDROM2/STAFF.GRP"), before);
}

// Values the server did not keep, and a file another program changed in
// between (which is then not written at all), are not taken: exit 4.
TEST(CtlSet, ValuesNotTakenAreReported) {
    const auto setKey = [](const char* key, const char* value) {
        return [=](const std::string& path) {
            ParameterHandler other;
            other.Load(OpenLocalFiles(), path, CatalogueOf(Configuration));
            other.SetValue("IP", key, value);
            other.Write();
        };
    };
    for (const bool meanwhile : {false, true}) {
        SCOPED_TRACE(meanwhile ? "changed meanwhile" : "refused by the server");
        TempShare share(TempShare::Contents::Sample);
        std::ostringstream out, err;
        Console console{out, err};
        (meanwhile ? console.beforeWrite : console.afterWrite) =
            meanwhile ? setKey("NetMask", "255.0.0.0") : setKey("InternetAddress", "192.168.1.50");
        const int code = SetCommand(console, share.Root(), "", false, {"IP", "InternetAddress", "192.168.1.99"});
        EXPECT_EQ(code, ExitNotTaken);
        EXPECT_EQ(err.str().rfind(LoadString(126), 0), 0u) << err.str();
        EXPECT_EQ(err.str().find("changed by another program") != std::string::npos, meanwhile);
        EXPECT_EQ(valueIn(share, kConfig, Configuration, "IP", "InternetAddress"), "192.168.1.50");
    }
}

// The restart that travels with FactoryDefaults = yes would reset the
// server: a set over a file that already asks for it needs --yes too.
// Text travels in the terminal's encoding and is stored as the server's
// Windows-1252 bytes; what the server cannot store is refused by name; a
// value is taken as written, brackets and all. format shows the bytes.
TEST(CtlSet, TextGoesThroughTheServersCharacterSet) {
    const struct {
        const char* codeset;
        std::string argument;
        int code;
        std::string stored;  // the file's bytes; "" when refused
        std::string printed;
    } cases[] = {
        {"UTF-8", "Caf\xC3\xA9", 0, "Caf\xE9", "Caf\xC3\xA9\n"},
        {"UTF-8", "\xE2\x82\xAC" "5", 0, "\x80" "5", "\xE2\x82\xAC" "5\n"},
        {"ISO-8859-1", "Caf\xE9", 0, "Caf\xE9", "Caf\xE9\n"},
        {"UTF-8", "[Server]", 0, "[Server]", "[Server]\n"},
        {"UTF-8", "smile\xF0\x9F\x98\x80", 1, "", "U+1F600"},
        {"UTF-8", "\xE4\xB8\xAD", 1, "", "U+4E2D"},
        {"UTF-8", "bad\xC3", 1, "", ""},  // not UTF-8 at all
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

TEST(CtlSet, APendingFactoryResetIsNeverSentUnconfirmed) {
    TempShare share;
    const std::string file =
        "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = yes\r\nRestart = no\r\n[IP]\r\nNetMask = 255.0.0.0\r\n";
    share.Write(kConfig, file);
    CtlResult result = RunCtl({"set", share.Root(), "IP", "NetMask", "255.255.0.0"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, Said({60019, 129, 60017}));
    EXPECT_EQ(share.Read(kConfig), file);
    result = RunCtl({"set", share.Root(), "--yes", "IP", "NetMask", "255.255.0.0"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, Said({131}));
    EXPECT_EQ(valueIn(share, kConfig, Configuration, "Server", "Restart"), "yes");
    EXPECT_EQ(valueIn(share, kConfig, Configuration, "IP", "NetMask"), "255.255.0.0");
}

TEST(CtlSet, FactoryDefaultsWithoutRestartKeyWriteNothing) {
    TempShare share;
    const std::string file = "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = no ; yes/no\r\n[END]\r\n";
    share.Write(kConfig, file);
    const CtlResult result = RunCtl({"set", share.Root(), "--yes", "Server", "FactoryDefaults", "yes"});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err.rfind(LoadString(1007) + " (" + share.PathOf(kConfig) + ": no parameter Restart", 0), 0u)
        << result.err;
    EXPECT_EQ(share.Read(kConfig), file);
}

TEST(CtlSet, ChoiceListWithoutChoicesTakesAnyValue) {
    TempShare share;
    // As the file reads after a rewrite: the comments with the choices are gone.
    share.Write(kConfig, "Tessaron CD V4.00\r\n[Server]\r\nRestart = no\r\nMediaAgentMode = off\r\n[END]\r\n");
    EXPECT_EQ(RunCtl({"set", share.Root(), "Server", "MediaAgentMode", "on"}).code, 0);
    EXPECT_EQ(valueIn(share, kConfig, Configuration, "Server", "MediaAgentMode"), "on");
    const CtlResult restart = RunCtl({"set", share.Root(), "--yes", "Server", "Restart", "yes"});
    EXPECT_EQ(restart.code, 0);
    EXPECT_EQ(restart.err, Said({131}));
    EXPECT_EQ(valueIn(share, kConfig, Configuration, "Server", "Restart"), "yes");
}

TEST(CtlSet, ArgumentsMustComeInThrees) {
    TempShare share(TempShare::Contents::Sample);
    for (const std::vector<std::string>& tail :
         {std::vector<std::string>{"IP", "NetMask"}, std::vector<std::string>{"IP", "NetMask", "255.0.0.0", "IP"}}) {
        std::vector<std::string> args{"set", share.Root()};
        args.insert(args.end(), tail.begin(), tail.end());
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, 64);
        EXPECT_FALSE(result.err.empty());
    }
}

struct RestartCase {
    const char* name;
    std::string file;  // empty: the sample's
    std::vector<std::string> flags;
    int code;
    std::vector<int> messages;
    const char* restart;  // afterwards; nullptr: file unchanged
    const char* factoryDefaults;
};

TEST(CtlRestart, WritesTheRequestOnlyWhenConfirmed) {
    const std::string noRestart = "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = no\r\n[END]\r\n";
    const std::string pending = "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = yes\r\nRestart = no\r\n[END]\r\n";
    const RestartCase cases[] = {
        {"restart", "", {"--yes"}, 0, {131}, "yes", "no"},
        {"factory defaults", "", {"--factory-defaults", "--yes"}, 0, {131}, "yes", "yes"},
        {"restart unconfirmed", "", {}, 1, {115, 60017}, nullptr, nullptr},
        {"factory defaults unconfirmed", "", {"--factory-defaults"}, 1, {116, 60017}, nullptr, nullptr},
        {"no Restart key", noRestart, {"--yes"}, 2, {1007}, nullptr, nullptr},
        {"no Restart key, factory defaults", noRestart, {"--yes", "--factory-defaults"}, 2, {1007}, nullptr,
         nullptr},
        // A restart would carry out the reset the file already asks for.
        {"restart over a pending reset", pending, {"--yes"}, 1, {60019, 60020}, nullptr, nullptr},
        {"reset confirmed", pending, {"--yes", "--factory-defaults"}, 0, {131}, "yes", "yes"},
    };
    for (const RestartCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempShare share(TempShare::Contents::Sample);
        if (!c.file.empty()) share.Write(kConfig, c.file);
        const std::string before = share.Read(kConfig);
        std::vector<std::string> args{"restart", share.Root()};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, "");
        std::string expected;
        for (int id : c.messages) expected += Said({id});
        if (c.code == 2) {  // the message, then what failed and why
            EXPECT_EQ(result.err.rfind(LoadString(1007) + " (", 0), 0u) << result.err;
        } else {
            EXPECT_EQ(result.err, expected);
        }
        if (!c.restart) {
            EXPECT_EQ(share.Read(kConfig), before);
            continue;
        }
        EXPECT_EQ(valueIn(share, kConfig, Configuration, "Server", "Restart"), c.restart);
        EXPECT_EQ(valueIn(share, kConfig, Configuration, "Server", "FactoryDefaults"), c.factoryDefaults);
    }
}

}  // namespace
