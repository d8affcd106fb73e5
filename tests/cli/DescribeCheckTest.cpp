#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "CtlRun.h"
#include "TempShare.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool holdsLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(CtlDescribe, OneTabSeparatedLinePerParameterInFileOrder) {
    TempShare share(TempShare::Contents::Sample);
    const CtlResult result = RunCtl({"describe", share.Root()});
    ASSERT_EQ(result.code, 0);
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> lines = linesOf(result.out);
    ASSERT_GT(lines.size(), 60u);
    EXPECT_EQ(lines.front(), "Server\tHardwareAddress\tHardware Address\tStat\t\t00-A0-2B-01-23-45");
    EXPECT_EQ(lines.back(), "NetWare\tTimeSyncSources\tTime Sync Sources\tCombo\t\tSAP");
    const char* const expected[] = {
        "Server\tDate\tDate\tEditCheck\tDate\t97-12-24",
        "Server\tTimeZone\tTime Zone\tCombo\t\tCentral_Europe",
        "Server\tConsoleBaudRate\tConsoleBaudRate\tUnknownCombo\t\t9600",
        "Server\tLogLevel\tLogLevel\tUnknown\t\t2",
        "SCSI\tJukeBoxLockTime\tJukebox Lock Time\tEdit\tInt 0 65535\t30",
        "IP\tInternetAddress\tInternet Address\tEdit\tIP\t192.168.1.50",
        "SMB\tServerName\tServer Name\tEdit\tText 15\tTESSARON1",
        "NFS\tDefaultUid\tDefault Uid\tEdit\tInt -2147483648 2147483647\t-2",
        "NFS\tExport\tExport\tUnknown\t\t/CDROM1 ; /CDROM2",
        "NetWare\tServerName\tServer Name\tEdit\tName 47\tTESSARON1_NW",
        "NetWare\tNDSAdminPassword\tNDS Admin. Password\tNoCheck\tName 47\tADMIN",
    };
    for (const char* line : expected) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(holdsLine(lines, line));
    }
}

TEST(CtlDescribe, VolumeRightsAndScsiFilesUseTheirCatalogues) {
    TempShare share(TempShare::Contents::Sample);
    const CtlResult rights = RunCtl({"describe", share.Root(), "--file", "Volumes/CDROM1/GUEST.USR"});
    ASSERT_EQ(rights.code, 0);
    const std::vector<std::string> lines = linesOf(rights.out);
    EXPECT_EQ(lines.front(), "\tName\tName\tEdit\tNoWhite 255\tGUEST");
    EXPECT_EQ(lines.back(), "\tSMBPassword\tSMB Password\tEdit\tNoWhite;* 255\t");  // offered when missing
    EXPECT_TRUE(holdsLine(lines, "\tLockEject\tLock Eject\tCombo\t\tno"));

    const CtlResult scsi = RunCtl({"describe", share.Root(), "--file", "scsi"});
    ASSERT_EQ(scsi.code, 0);
    const std::vector<std::string> scsiLines = linesOf(scsi.out);
    EXPECT_TRUE(holdsLine(scsiLines, "ID_2\tDrive\tDrive\tStat\t\tTOSHIBA CD-ROM XM-6102B 1119"));
    EXPECT_TRUE(holdsLine(scsiLines, "ID2_LUN0\tSCSIAlias\tSCSI Alias\tEdit\tNoWhite 20\tCDROM1"));
}

TEST(CtlDescribe, JsonHoldsEveryFieldOfEveryParameter) {
    TempShare share(TempShare::Contents::Sample);
    const CtlResult text = RunCtl({"describe", share.Root()});
    const CtlResult result = RunCtl({"describe", share.Root(), "--json"});
    ASSERT_EQ(result.code, 0);
    const nlohmann::json list = nlohmann::json::parse(result.out);
    ASSERT_TRUE(list.is_array());
    EXPECT_EQ(list.size(), linesOf(text.out).size());
    const auto find = [&](const std::string& section, const std::string& key) {
        for (const nlohmann::json& entry : list) {
            if (entry["section"] == section && entry["key"] == key) return entry;
        }
        return nlohmann::json();
    };
    const nlohmann::json address = find("IP", "InternetAddress");
    EXPECT_EQ(address["name"], "Internet Address");
    EXPECT_EQ(address["type"], "Edit");
    EXPECT_EQ(address["ddv"], "IP");
    EXPECT_EQ(address["value"], "192.168.1.50");
    EXPECT_EQ(address["comment"], "");
    EXPECT_EQ(address["indented"], 0);
    EXPECT_EQ(address["typeSpec"], "{Type Edit} {DDV IP}");
    const nlohmann::json tree = find("NetWare", "NDSTreeName");
    EXPECT_EQ(tree["indented"], 1);
    EXPECT_EQ(find("Server", "HardwareAddress")["comment"], "Cannot be changed");
    EXPECT_EQ(find("NetWare", "TimeSyncSources")["comment"], "SAP/SERVER_LIST/XX-XX-XX-XX");
}

TEST(CtlDescribe, JsonCarriesTheFilesBytesThroughTheirCodePage) {
    TempShare share;
    // Quotes, backslashes and control bytes are escaped as JSON wants them.
    share.Write("Config/Config.ini", std::string("[SMB]\r\nServerName = Caf\xE9\x80\x81\"\\\t\x01\0x\r\n", 34));
    const CtlResult result = RunCtl({"describe", share.Root(), "--json"});
    ASSERT_EQ(result.code, 0);
    const nlohmann::json list = nlohmann::json::parse(result.out);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["value"], std::string("Caf\u00E9\u20AC\u0081\"\\\t\x01\0x", 16));
    share.Write("Config/Config.ini", "; nothing but a remark\r\n");
    EXPECT_EQ(nlohmann::json::parse(RunCtl({"describe", share.Root(), "--json"}).out), nlohmann::json::array());
}

struct CheckCase {
    const char* spec;
    const char* value;
    const char* comment;
    int code;
    const char* out;      // the resulting value, when valid
    int message;          // string ID shown when invalid; 0: a composed prompt
    const char* mention;  // text the composed prompt names
};

TEST(CtlCheck, TakesTheTextAsAnEditBoxWould) {
    const CheckCase cases[] = {
        {"{Type Edit} {DDV IP}", "010.001.1.1", "", 0, "10.1.1.1\n", 0, ""},
        {"{Type Edit} {DDV IP}", " 192.168.1.1 ", "", 0, "192.168.1.1\n", 0, ""},
        {"{Type Edit} {DDV IP}", "256.1.1.1", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV IP}", "*", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV IP}", "192.168.100.1000", "", 1, "", 0, "15"},
        {"{Type Edit} {DDV IP;* 255}", " 010.000.000.001 ; * ", "", 0, "10.0.0.1 ; *\n", 0, ""},
        {"{Type Edit} {DDV Int 0 65535}", "80", "", 0, "80\n", 0, ""},
        {"{Type Edit} {DDV Int 0 65535}", " 80 ", "", 0, "80\n", 0, ""},
        {"{Type Edit} {DDV Int 0 65535}", "080", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV Int 0 65535}", "+80", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV Int 0 65535}", "", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV Int 0 65535}", "70000", "", 1, "", 0, "65535"},
        {"{Type Edit} {DDV Int -2147483648 2147483647}", "-2147483648", "", 0, "-2147483648\n", 0, ""},
        {"{Type Edit} {DDV Int -2147483648 2147483647}", "2147483648", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV UInt;*}", "007;1", "", 0, "7 ; 1\n", 0, ""},
        {"{Type Edit} {DDV UInt;*}", "99999999999", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV Name 47} {UpperCase}", "server_1", "", 0, "SERVER_1\n", 0, ""},
        {"{Type Edit} {DDV Name 47} {UpperCase}", "my server", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV Name 47}", "server", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV NoWhite 16}", "abc;def", "", 1, "", 1022, ""},
        {"{Type Edit} {DDV NoWhite;* 255}", "abc ; def", "", 0, "abc ; def\n", 0, ""},
        {"{Type EditCheck} {DDV Time} {Write!} {NoValidSubmit}", "1:2:3", "", 0, "1:2:3\n", 0, ""},
        {"{Type EditCheck} {DDV Time} {Write!} {NoValidSubmit}", "24:00:00", "", 1, "", 1024, ""},
        {"{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}", "97/12/24", "", 1, "", 1025, ""},
        {"{Type Edit} {DDV NetWareAddress}", "01-02-0A-FF", "", 0, "01-02-0A-FF\n", 0, ""},
        {"{Type Edit} {DDV NetWareAddress}", "1-2-3-4", "", 1, "", 1022, ""},
        {"{Type NoCheck} {DDV Name 47} {UpperCase}", " admin pw ", "", 0, "ADMIN PW\n", 0, ""},
        {"{Type Edit} {DDV Text 50}", "two\nlines", "", 1, "", 1022, ""},
        {"", "anything at all", "", 0, "anything at all\n", 0, ""},  // untyped: not checked
        {"{Type Combo yes/no}", "no", "", 0, "no\n", 0, ""},
        {"{Type Combo yes/no}", "YES", "", 0, "yes\n", 0, ""},
        {"{Type Combo yes/no}", "maybe", "", 1, "", 1022, ""},
        {"{Type Combo}", "on", "off/on", 0, "on\n", 0, ""},
        {"{Type Combo}", " free text ", "", 0, "free text\n", 0, ""},  // no choices named
        {"{Type Combo yes/no}", "", "", 1, "", 1022, ""},
        {"{Type Combo SAP/SERVER_LIST}", "0A-01-02-FF", "SAP/SERVER_LIST/XX-XX-XX-XX", 0, "0A-01-02-FF\n", 0, ""},
        {"{Type Combo SAP/SERVER_LIST}", "FS1,FS_2", "SAP/SERVER_LIST/XX-XX-XX-XX", 0, "FS1,FS_2\n", 0, ""},
        {"{Type Combo SAP/SERVER_LIST}", "fs1", "SAP/SERVER_LIST/XX-XX-XX-XX", 1, "", 1022, ""},
        {"{Type Combo SAP/SERVER_LIST}", "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUV", "", 1, "", 1020, ""},
        {"{Type Combo}", "0G-01-02-03", "XX-XX-XX-XX", 1, "", 1022, ""},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(std::string(c.spec) + " | " + c.value);
        std::vector<std::string> args{"check", c.spec, c.value};
        if (*c.comment) args.insert(args.end(), {"--comment", c.comment});
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, c.out);
        if (c.code == 0) {
            EXPECT_EQ(result.err, "");
        } else if (c.message != 0) {
            EXPECT_EQ(result.err.substr(0, LoadString(c.message).size() + 1), Said({c.message}));
        } else {
            EXPECT_NE(result.err.find(c.mention), std::string::npos) << result.err;
        }
    }
}

TEST(CtlCheck, InvalidChoiceNamesTheChoices) {
    const CtlResult result = RunCtl({"check", "{Type Combo yes/no}", "maybe"});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("yes, no"), std::string::npos) << result.err;
}

}  // namespace
