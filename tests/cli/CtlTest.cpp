#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include "CtlRun.h"
#include "TargetFile.h"
#include "TempShare.h"

namespace {

// A bad command line exits 64 with the problem on standard error; help and
// the version go to standard output. said: a text the output holds.
TEST(CtlUsage, BadCommandLinesExitWith64HelpExitsWith0) {
    const struct { std::vector<std::string> args; int code; const char* said; } cases[] = {
        {{}, 64, ""}, {{"frobnicate"}, 64, "'frobnicate' is not a command."},
        {{"idnetify", "/share"}, 64, "'idnetify' is not a command; did you mean 'identify'?"},
        {{"idnetifyy", "/share"}, 64, "did you mean 'identify'?"},  // a swapped pair is one edit
        {{"identify"}, 64, ""}, {{"get", "/share", "IP"}, 64, ""},
        {{"identify", "/a", "/b"}, 64, ""}, {{"format", "--bogus", "x"}, 64, ""}, {{"check", "{Type Edit}"}, 64, ""},
        {{"format", "--in-place", "-"}, 64, "standard input"},
        {{"set", "/share"}, 64, ""}, {{"set", "/share", "IP", "NetMask"}, 64, ""},
        {{"set", "/share", "IP", "NetMask", "255.0.0.0", "IP"}, 64, ""},
        {{"set", "/share", "--dry-rum", "IP", "NetMask", "255.0.0.0"}, 64, "--dry-rum"},
        {{"set", "/share", "--json", "IP", "NetMask", "255.0.0.0"}, 64, "--json goes with --dry-run"},
        {{"undo", "/share", "x"}, 64, ""}, {{"restore", "/share"}, 64, ""}, {{"diff", "/share"}, 64, ""},
        {{"--help"}, 0, "describe"}, {{"--version"}, 0, ""}, {{"set", "--help"}, 0, "SHARE SECTION KEY VALUE [SECTION KEY VALUE ...]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CtlResult result = RunCtl(c.args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out == "", c.code != 0);
        EXPECT_EQ(result.err == "", c.code == 0);
        EXPECT_NE((result.out + result.err).find(c.said), std::string::npos);
    }
}

// Every command that takes SHARE says what is wrong with it, names it, and
// exits 2 without output.
TEST(CtlUsage, EveryCommandSaysWhatIsWrongWithTheShare) {
    TempShare empty;
    TempShare broken;
    for (const char* file : {"Config/Config.ini", "Config/Stat.txt", "Config/Logfile.txt"}) {
        broken.Write(std::string(file) + "/inside", "");  // a folder where the file belongs
    }
    const std::string missing = empty.Root() + "/gone";
    const std::vector<std::vector<std::string>> commands = {  // each with the share options
        {"identify", "--json", "--user", "u"}, {"info", "--user", "u"}, {"stats", "--json", "--user", "u"},
        {"log", "--user", "u"}, {"get", "IP", "NetMask"}, {"describe", "--json"},
        {"set", "IP", "NetMask", "255.0.0.0"}, {"restart", "--yes"}, {"restart", "--dry-run"}, {"diff", "other"},
    };
    for (const auto& command : commands) {
        const auto run = [&](const std::string& share) { return RunOn(share, command); };
        SCOPED_TRACE(command[0]);
        const struct { CtlResult result; std::string said; } cases[] = {
            {run(empty.Root()), FormatString(60022, {empty.Root()})},
            {run(missing), FormatString(60021, {missing})},
            {run(broken.Root()), broken.PathOf(command[0] == "stats" ? "Config/Stat.txt"
                                               : command[0] == "log" ? "Config/Logfile.txt"
                                                                     : "Config/Config.ini") +
                                     ": not a regular file)"},
            {run("//no-such-host.invalid/cd"), "(smb://no-such-host.invalid: the server cannot be found or reached ("},
        };
        for (const auto& c : cases) {
            EXPECT_EQ(c.result.code, 2);
            EXPECT_EQ(c.result.out, "");
            EXPECT_NE(c.result.err.find(c.said), std::string::npos) << c.result.err;
            EXPECT_EQ(c.result.err.find("might be missing"), std::string::npos) << c.result.err;  // a page's words
        }
    }
}

// --file names a file of the share, by a short name or a path; its folder
// and name say which catalogue applies.
TEST(TargetFile, ChoicesNameTheShareFiles) {
    TempShare share(TempShare::Contents::Sample);
    const struct { std::string choice, path; CatalogueKind kind; } cases[] = {
        {"", "Config/Config.ini", Configuration},
        {"config", "Config/Config.ini", Configuration},
        {"scsi", "Config/scsi.ini", ScsiDrives},
        {"\\Config\\SCSI.INI", "Config/scsi.ini", ScsiDrives},
        {"volumes/cdrom2/staff.grp", "Volumes/CDROM2/STAFF.GRP", VolumeRights},
        {share.PathOf("Volumes/CDROM1/ADMIN.GRP"), "Volumes/CDROM1/ADMIN.GRP", VolumeRights},
        {"Volumes", "Volumes", Configuration},  // the folder itself is no rights file
        {"Config/scsi.ini.bak", "Config/scsi.ini.bak", Configuration},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.choice);
        const TargetFile target = ChooseFile(c.choice);
        EXPECT_EQ(share.Files()->PathOf(target.name), share.PathOf(c.path));
        EXPECT_EQ(target.kind, c.kind);
    }
}

// identify prints the four facts, get the stored value; or they say why not:
// which file lacks a section or key and what it has in another letter case,
// or that a report or a file of the Cd folder holds no parameters.
TEST(CtlIdentifyGet, PrintWhatTheFileSaysOrWhyNot) {
    const std::string noFile = LoadString(1021) + " (", notParameters = " is not a parameter file";
    // file: the configuration file, or (nullptr) the sample share; said: what standard error begins with
    const struct { const char* file; std::vector<std::string> args; int code; const char* out; std::string said; } cases[] = {
        {"QUOR Tessaron CD-ROM Server V4.00 (c) S/N: 1234-5678  \r\n[Server]\r\n", {"identify"}, 0,
         "product: QUOR Tessaron CD\nversion: 4.00\nkind: 0\nserial:  1234-5678\n", ""},
        {"JQ HD V3.02 x\r\n", {"identify"}, 0, "product: QUOR Tessaron HD\nversion: 3.02\nkind: 1\nserial: Unknown\n",
         Said({60044})},
        {"Tessaron HD V4.00 x\r\n", {"identify"}, 3, "", Said({1018})},
        {"Tessaron CD V4.00 S/N:7\r\n", {"identify", "--json"}, 0,
         "{\n  \"product\": \"QUOR Tessaron CD\",\n  \"version\": \"4.00\",\n  \"kind\": 0,\n  \"serial\": \"7\"\n}\n", ""},
        {nullptr, {"get", "NetWare", "NDSServerContext"}, 0, "OU=CDROM.O=QUOR\n", ""},
        {nullptr, {"get", "NFS", "Export"}, 0, "/CDROM1 ; /CDROM2\n", ""},
        {nullptr, {"get", "SMB", "NBTScope"}, 0, "\n", ""},
        {nullptr, {"get", "server", "Restart"}, 1, "", "There is no section [server] in Config/Config.ini. It has [Server].\n"},
        {nullptr, {"get", "IP", "netmask"}, 1, "", "There is no parameter [IP] netmask in Config/Config.ini. It has [IP] NetMask.\n"},
        {nullptr, {"get", "ID_3", "Drive", "--file=scsi"}, 0, "PLEXTOR CD-ROM PX-40TS 1.01\n", ""},
        {nullptr, {"get", "", "SMBPassword", "--file", "\\volumes\\cdrom1\\guest.usr"}, 0, "\n", ""},  // offered by the catalogue
        {nullptr, {"get", "", "Alias", "--file", "Volumes/CDROM2/STAFF.GRP"}, 0, "Staff\n", ""},
        {nullptr, {"get", "", "UserLimit", "--file", "Volumes/CDROM9/GUEST.USR"}, 2, "", noFile},
        {nullptr, {"get", "IP", "NetMask", "--file", TESSARON_SAMPLE_SHARE "/Config/Config.ini"}, 2, "", noFile},  // elsewhere
        {nullptr, {"get", "", "Uptime", "--file", "config\\STAT.TXT"}, 1, "", "config/STAT.TXT" + notParameters},
        {nullptr, {"describe", "--file", "Cd/../cd/CDROM1/README.TXT"}, 1, "", "Cd/../cd/CDROM1/README.TXT" + notParameters},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args) + (c.file ? c.file : ""));
        TempShare share(c.file ? TempShare::Contents::Empty : TempShare::Contents::Sample);
        if (c.file) share.Write("Config/Config.ini", c.file);
        const CtlResult result = RunOn(share.Root(), c.args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err.substr(0, c.said.size()), c.said);
        EXPECT_EQ(result.err.empty(), c.said.empty());
    }
}

TEST(CtlDescribe, OneLinePerParameterOrJsonWithEveryField) {
    TempShare share;
    share.Write("Config/Config.ini", "[IP]\r\n  InternetAddress = 010.1.1.1 ; note\r\n[SMB]\r\nServerName = Caf\xE9\x80\x81\"\\\t\x01" +
                                         std::string(1, '\0') + "x\r\n");
    const CtlResult text = RunCtl({"describe", share.Root()});
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "IP\tInternetAddress\tInternet Address\tEdit\tIP\t010.1.1.1");
    const CtlResult result = RunCtl({"describe", share.Root(), "--json"});
    ASSERT_EQ(result.code, 0);
    const nlohmann::json list = nlohmann::json::parse(result.out);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_NE(result.out.find("\"name\": \"Internet Address\""), std::string::npos);  // a blank needs no escape
    EXPECT_EQ(list[0], nlohmann::json::parse(R"({"section": "IP", "key": "InternetAddress", "name": "Internet Address",
        "type": "Edit", "ddv": "IP", "value": "010.1.1.1", "comment": "note", "indented": 1,
        "typeSpec": "{Type Edit} {DDV IP}"})"));
    // The file's bytes through their code page, escaped as JSON wants them.
    EXPECT_EQ(list[1]["value"], std::string("Caf\u00E9\u20AC\u0081\"\\\t\x01\0x", 16));
    share.Write("Config/Config.ini", "; nothing but a remark\r\n");
    EXPECT_EQ(RunCtl({"describe", share.Root(), "--json"}).out, "[]\n");
}

// "check" takes text as the row of a page would (always checked); choice
// lists name their choices.
TEST(CtlCheck, TakesTheTextAsARowWould) {
    // out: the value taken; else a text the refusal says
    const struct { const char *spec, *value, *comment; int code; const char* out; } cases[] = {
        {"{Type Edit} {DDV Name 47} {UpperCase}", " server_1 ", "", 0, "SERVER_1\n"},  // as a row takes it
        {"{Type Combo yes/no}", "YES", "", 0, "yes\n"},
        {"{Type Combo yes/no}", "maybe", "", 1, "Choose one of: yes, no"},
        {"{Type Combo yes/no}", "", "", 1, "Illegal parameter value!"},
        {"{Type Combo}", " free text ", "", 0, "free text\n"},  // no choices named
        {"{Type Combo SAP/SERVER_LIST}", "0A-01-02-FF", "SAP/SERVER_LIST/XX-XX-XX-XX", 0, "0A-01-02-FF\n"},
        {"{Type Combo}", "0G-01-02-03", "XX-XX-XX-XX", 1, "Illegal parameter value!\nEnter a value in the form XX-XX-XX-XX"},
        // The rule a value broke, in words.
        {"{Type Edit} {DDV NoWhite 16}", "a;b", "", 1, "Illegal parameter value!\nThe character \";\" is not allowed here."},
        {"{Type Edit} {DDV UInt;*}", "1;x", "", 1, "Enter a whole number from 0 to 65535, or *."},
        {"{Type Edit} {DDV Int 0 9}", "07", "", 1, "Enter a whole number from 0 to 9."},
        {"{Type Edit} {DDV Int 0 9}", "", "", 1, "Enter a whole number from 0 to 9."},  // checked though empty
        {"{Type EditCheck} {DDV Date}", "97-13-01", "", 1, "Date must have the format yy-mm-dd"},  // as if ticked
        {"{Type Edit} {DDV IP}", "1.2.3", "", 1, "Enter an internet address"},
        {"{Type Edit} {DDV Name 8}", "a", "", 1, "The character \"a\" is not allowed here: use only ABC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.spec) + " | " + c.value);
        std::vector<std::string> args{"check", c.spec, c.value};
        if (*c.comment) args.insert(args.end(), {"--comment", c.comment});
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, c.code == 0 ? c.out : "");
        if (c.code == 0) { EXPECT_EQ(result.err, ""); }
        if (c.code != 0) { EXPECT_NE(result.err.find(c.out), std::string::npos) << result.err; }
        EXPECT_EQ(result.err.find("F1"), std::string::npos) << result.err;  // the windows' help is no help here
    }
}

// format prints the canonical text with LF line ends (of a file named as
// any path is, or of standard input), or rewrites the file with CR LF; it
// never creates a file, nor rewrites a report of the server.
TEST(CtlFormat, PrintsOrRewritesTheCanonicalText) {
    TempShare share;
    const std::string path = share.PathOf("Config/Config.ini");
    const std::string input = "Title\r\n; note\r\n[Server]\r\n  Restart=no ; yes/no\r\n[END]\r\n;" + std::string(500, 'x');
    const std::string canonical = " = \n[Server]\nRestart = no\n[END]\n";
    share.Write("Config/Config.ini", input);
    share.Write("Config/Stat.txt", "Uptime: 1 day\r\n");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(share.PathOf("Config"));
    EXPECT_EQ(RunCtl({"format", "./Config.ini"}).out, canonical);
    EXPECT_EQ(RunCtl({"format", "-"}, LocaleText(), input).out, canonical);
    EXPECT_EQ(RunCtl({"format", "--in-place", "stat.txt"}).code, 1);
    std::filesystem::current_path(before);
    EXPECT_EQ(share.Read("Config/Stat.txt"), "Uptime: 1 day\r\n");
    EXPECT_EQ(share.Read("Config/Config.ini"), input);
    const CtlResult inPlace = RunCtl({"format", "--in-place", path});
    EXPECT_EQ(inPlace.code, 0);
    EXPECT_EQ(inPlace.out + inPlace.err, "");
    EXPECT_EQ(share.Read("Config/Config.ini"), " = \r\n[Server]\r\nRestart = no\r\n[END]\r\n");
    std::filesystem::remove(path);
    const CtlResult missing = RunCtl({"format", "--in-place", path});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find(path), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(CtlInfoStatsLog, PrintWhatTheManagementPagesShow) {
    TempShare share(TempShare::Contents::Sample);
    EXPECT_EQ(RunCtl({"info", share.Root()}).out,
              "serial:  1234-5678\nversion: 4.00\nkind: 0\nnetwareServerName: TESSARON1_NW\n"
              "nodeAddress: 00-A0-2B-01-23-45\ninternetAddress: 192.168.1.50\nsmbServerName: TESSARON1\n");
    share.Write("Config/Config.ini", "Tessaron CD V3.06 S/N:\xE9t\xE9\r\n[SMB]\r\nServerName = \xC4RZTE\r\n[END]\r\n");
    EXPECT_EQ(RunCtl({"info", share.Root()}).out,
              "serial: \xC3\xA9t\xC3\xA9\nversion: 3.06\nkind: 0\nsmbServerName: \xC3\x84RZTE\n");
    EXPECT_EQ(nlohmann::json::parse(RunCtl({"info", share.Root(), "--json"}).out),
              nlohmann::json::parse(R"({"serial": "été", "version": "3.06", "kind": 0, "smbServerName": "ÄRZTE"})"));

    // The reports as their views show them, or the view's message and exit 2.
    share.Write("Config/Stat.txt", "  Uptime\r\n\r\nlast \xB0");
    EXPECT_EQ(RunCtl({"stats", share.Root()}).out, "  Uptime\n\nlast \xC2\xB0\n");
    EXPECT_EQ(nlohmann::json::parse(RunCtl({"stats", share.Root(), "--json"}).out),
              nlohmann::json::parse(R"(["  Uptime", "", "last °"])"));
    std::filesystem::remove(share.PathOf("Config/Logfile.txt"));
    const CtlResult result = RunCtl({"log", share.Root()});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind(LoadString(1026) + " (", 0), 0u) << result.err;
}

// The lines of the list-driven pages, tab-separated or as JSON (a drive
// without its own section has an empty name); an empty listing is said on
// standard error and is no failure. Names are printed as the file system
// gives them, control characters escaped, so that a printed file works as
// --file; a volume folder that cannot be read is named and the rest listed.
TEST(CtlVolumesDrives, ListWhatThePagesList) {
    TempShare share(TempShare::Contents::Sample);
    share.Write("Volumes/M\xC3\x9CLLER/G\xC3\x84ST.USR", "Name = X\r\nAlias = Gast\r\n");
    share.Write("Volumes/CDROM1/A\nB\tC", "Name = X\r\n");
    EXPECT_EQ(RunCtl({"volumes", share.Root()}).out,
              "CDROM1 - A\\nB\\tC\tVolumes/CDROM1/A\\nB\\tC\n"
              "CDROM1 - ADMIN\tVolumes/CDROM1/ADMIN.GRP\nCDROM1 - GUEST\tVolumes/CDROM1/GUEST.USR\n"
              "CDROM2 - GUEST\tVolumes/CDROM2/GUEST.USR\nCDROM2 - STAFF\tVolumes/CDROM2/STAFF.GRP\n"
              "M\xC3\x9CLLER - G\xC3\x84ST\tVolumes/M\xC3\x9CLLER/G\xC3\x84ST.USR\n");
    EXPECT_EQ(RunOn(share.Root(), {"get", "", "Alias", "--file", "Volumes/M\xC3\x9CLLER/G\xC3\x84ST.USR"}).out, "Gast\n");
    const std::string missing = "Volumes/CDROM1/NOPE\xC3\x89.USR";  // named in a message as it is
    EXPECT_NE(RunOn(share.Root(), {"get", "", "Alias", "--file", missing}).err.find(share.PathOf(missing)), std::string::npos);
    {
        UnreadableFolder unreadable(share.PathOf("Volumes/CDROM2"));
        const CtlResult result = RunCtl({"volumes", share.Root()});
        EXPECT_EQ(result.code, 2);
        EXPECT_EQ(result.out.find("CDROM2"), std::string::npos);
        EXPECT_NE(result.out.find("CDROM1 - GUEST"), std::string::npos);
        EXPECT_EQ(result.err.rfind(FormatString(60061, {"CDROM2"}) + " (" + share.PathOf("Volumes/CDROM2") + ": ", 0), 0u)
            << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
    }
    share.Write("Config/scsi.ini", "[ID_2]\r\nDrive = T\"\\\x1b\r\n[ID2_LUN0]\r\nA = 1\r\n[ID3_LUN1]\r\nA = 1\r\n[Other]\r\nA = 1\r\n");
    EXPECT_EQ(nlohmann::json::parse(RunCtl({"drives", share.Root(), "--json"}).out),
              nlohmann::json::parse(R"([{"line": "ID2_LUN0", "drive": "T\"\\\u001b"}, {"line": "ID3_LUN1", "drive": ""}])"));
    EXPECT_EQ(RunCtl({"drives", share.Root()}).out, "ID2_LUN0\tT\"\\\\x1b\nID3_LUN1\t\n");

    share.Write("Config/scsi.ini", "[ID_2]\r\n");
    for (const char* volume : {"CDROM1", "CDROM2", "M\xC3\x9CLLER"}) std::filesystem::remove_all(share.PathOf("Volumes/") + volume);
    for (const char* command : {"drives", "volumes"}) {
        const CtlResult result = RunCtl({command, share.Root(), "--json"});
        EXPECT_EQ(result.code, 0) << command;
        EXPECT_EQ(result.out, "[]\n") << command;
        EXPECT_EQ(result.err, LoadString(command[0] == 'd' ? 1015 : 1016) + "\n") << command;
    }
    std::filesystem::remove_all(share.PathOf("Volumes"));
    const CtlResult result = RunCtl({"volumes", share.Root()});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, FormatString(60021, {share.PathOf("Volumes")}) + "\n");
}

// A parameter file of no bytes is named as empty by every command that reads
// one; identify and volumes still take an empty configuration file as the
// appliance's identification does.
TEST(CtlUsage, AnEmptyFileIsNamedAsEmpty) {
    TempShare share(TempShare::Contents::Sample);
    for (const char* file : {"Config/Config.ini", "Config/scsi.ini"}) share.Write(file, "");
    const std::string config = share.PathOf("Config/Config.ini");
    const std::string empty = config + ": the file is empty (0 bytes)";
    const struct { std::vector<std::string> args; int code; std::string said; } cases[] = {
        {{"identify"}, 0, FormatString(60060, {config})}, {{"volumes"}, 0, FormatString(60060, {config})},
        {{"info"}, 2, empty}, {{"get", "IP", "NetMask"}, 2, empty}, {{"describe"}, 2, empty},
        {{"set", "IP", "NetMask", "255.0.0.0"}, 2, empty}, {{"restart", "--yes"}, 2, empty},
        {{"drives"}, 2, share.PathOf("Config/scsi.ini") + ": the file is empty (0 bytes)"},
    };
    for (const auto& c : cases) {
        const CtlResult result = RunOn(share.Root(), c.args);
        EXPECT_EQ(result.code, c.code) << c.args[0];
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    }
    EXPECT_EQ(share.Read("Config/Config.ini"), "");
}

// The SMB client (and the libraries it brings) is loaded only when a share is reached over SMB:
// not for the version, nor on a folder of this computer.
TEST(CtlStart, LoadsTheSmbClientOnlyForAShareOverSmb) {
    const TempShare share(TempShare::Contents::Sample);
    const struct { std::string args; bool loaded; } cases[] = {
        {"--version", false}, {"identify " + share.Root(), false}, {"identify smb://127.0.0.1:1/cd", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        // The dynamic loader names each library it loads.
        FILE* run = ::popen(("LD_DEBUG=libs " TESSARON_CTL_BINARY " " + c.args + " 2>&1 >/dev/null").c_str(), "r");
        ASSERT_NE(run, nullptr);
        std::string said;
        char buffer[4096];
        while (const size_t got = std::fread(buffer, 1, sizeof buffer, run)) said.append(buffer, got);
        ::pclose(run);
        EXPECT_NE(said.find("calling init:"), std::string::npos);
        EXPECT_EQ(said.find("libsmbclient.so") != std::string::npos, c.loaded);
    }
}

}  // namespace
