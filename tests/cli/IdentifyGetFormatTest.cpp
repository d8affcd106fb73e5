#include <gtest/gtest.h>

#include <filesystem>

#include "CtlRun.h"
#include "TempShare.h"

namespace {

struct IdentifyCase {
    const char* name;
    const char* firstLines;  // nullptr: no configuration file
    int code;
    const char* out;
    std::vector<int> messages;
};

TEST(CtlIdentify, PrintsTheFourFactsOrSaysWhyNot) {
    const IdentifyCase cases[] = {
        {"supported CD-ROM server", "QUOR Tessaron CD-ROM Server V4.00 (c) S/N: 1234-5678  \r\n[Server]\r\n", 0,
         "product: QUOR Tessaron CD\nversion: 4.00\nkind: 0\nserial:  1234-5678\n", {}},
        {"HD server of the OEM line", "JQ HD V3.07 x\r\n", 0,
         "product: QUOR Tessaron HD\nversion: 3.07\nkind: 1\nserial: Unknown\n", {}},
        {"model word", "JQ-5000 V3.06 S/N:77\n", 0, "product: JQ 5000\nversion: 3.06\nkind: 0\nserial: 77\n", {}},
        {"unsupported version warns", "Tessaron CD V3.02 S/N: 9\r\n", 0,
         "product: QUOR Tessaron CD\nversion: 3.02\nkind: 0\nserial:  9\n", {1003}},
        {"no version", "Tessaron CD\r\n", 0, "product: QUOR Tessaron CD\nversion: Unknown\nkind: 0\nserial: Unknown\n",
         {1003}},
        {"empty file", "", 0, "product: \nversion: Unknown\nkind: 0\nserial: Unknown\n", {1003}},
        {"not a supported unit", "Tessaron HD V4.00 x\r\n", 3, "", {1018}},
        {"empty first line", "\r\nTessaron CD V4.00 x\r\n", 3, "", {1018}},
    };
    for (const IdentifyCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempShare share;
        share.Write("Config/Config.ini", c.firstLines);
        const CtlResult result = RunCtl({"identify", share.Root()});
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, c.out);
        std::string expectedErr;
        for (int id : c.messages) expectedErr += Said({id});
        EXPECT_EQ(result.err, expectedErr);
    }
}

TEST(CtlIdentify, SampleShare) {
    TempShare share(TempShare::Contents::Sample);
    const CtlResult result = RunCtl({"identify", share.Root()});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "product: QUOR Tessaron CD\nversion: 4.00\nkind: 0\nserial:  1234-5678\n");
    EXPECT_EQ(result.err, "");
}

TEST(CtlIdentify, NetworkShareThatIsNotMountedIsAFileError) {
    const CtlResult result = RunCtl({"identify", "//no-such-host.invalid/cd"});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("//no-such-host.invalid/cd"), std::string::npos);
}

struct GetCase {
    std::vector<std::string> args;  // after "get SHARE"
    int code;
    const char* out;
};

TEST(CtlGet, PrintsTheStoredValue) {
    TempShare share(TempShare::Contents::Sample);
    const GetCase cases[] = {
        {{"IP", "InternetAddress"}, 0, "192.168.1.50\n"},
        {{"HTTP/FTP", "BaseURL"}, 0, "/cd\n"},
        {{"NetWare", "NDSServerContext"}, 0, "OU=CDROM.O=QUOR\n"},  // value holding "="
        {{"NFS", "Export"}, 0, "/CDROM1 ; /CDROM2\n"},             // repeated key
        {{"SMB", "NBTScope"}, 0, "\n"},                             // empty value
        {{"", ""}, 1, ""},                                          // the title line is a remark
        {{"Server", "restart"}, 1, ""},                             // keys are case-sensitive
        {{"server", "Restart"}, 1, ""},
        {{"Nowhere", "Restart"}, 1, ""},
        {{"ID2_LUN0", "SCSIAlias", "--file", "scsi"}, 0, "CDROM1\n"},
        {{"ID_3", "Drive", "--file=scsi"}, 0, "PLEXTOR CD-ROM PX-40TS 1.01\n"},
        {{"", "Comment", "--file", "Volumes/CDROM1/GUEST.USR"}, 0, "Read-only access; no password needed\n"},
        {{"", "NFSUser", "--file", "\\volumes\\cdrom1\\guest.usr"}, 0, "*\n"},
        {{"", "SMBPassword", "--file", "Volumes/CDROM1/GUEST.USR"}, 0, "\n"},  // offered by the catalogue
        {{"", "UserLimit", "--file", "Volumes/CDROM9/GUEST.USR"}, 2, ""},
        {{"IP", "NetMask", "--file", "config"}, 0, "255.255.255.0\n"},
    };
    for (const GetCase& c : cases) {
        std::vector<std::string> args{"get", share.Root()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(testing::PrintToString(args));
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err.empty(), c.code == 0);
    }
}

TEST(CtlGet, FullPathOfAFileOnTheShare) {
    TempShare share(TempShare::Contents::Sample);
    const CtlResult result =
        RunCtl({"get", share.Root(), "", "Alias", "--file", share.PathOf("Volumes/CDROM2/STAFF.GRP")});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "Staff\n");
}

struct FormatCase {
    const char* name;
    std::string input;
    std::string canonical;  // with LF line ends
};

const FormatCase kFormatCases[] = {
    {"comments, blanks and indentation go",
     "Title line\r\n; note\r\n\r\n[Server]\r\n  Restart=no ; yes/no\r\n[END]\r\n",
     " = \n[Server]\nRestart = no\n[END]\n"},
    {"repeated keys gather at their first place",
     "[NFS]\nExport = /a\nNFSEnable = yes\nExport = /b\n",
     "[NFS]\nExport = /a\nExport = /b\nNFSEnable = yes\n[END]\n"},
    {"a repeated header continues its section",
     "[A]\nx = 1\n[B]\ny = 2\n[A]\nz = 3\n",
     "[A]\nx = 1\nz = 3\n[B]\ny = 2\n[END]\n"},
    {"empty section disappears, empty pieces go",
     "[Empty]\n[L]\nk = 1\nk =\nk = 2\nj = 3\nj =\nNFSUser = 5\nNFSUser =\nSMBPassword =\n",
     "[L]\nk = 1\nk = 2\nj = 3\nj = \nNFSUser = 5\n[END]\n"},
    {"the value ends at the first semicolon", "[S]\nk = 1;2\n", "[S]\nk = 1\n[END]\n"},
    {"Comment keeps its semicolons", "Comment = a; b ;c\n", "Comment = a; b ;c\n[END]\n"},
    {"no last line end", "[S]\nk = v", "[S]\nk = v\n[END]\n"},
};

TEST(CtlFormat, PrintsTheCanonicalFormWithLineFeeds) {
    for (const FormatCase& c : kFormatCases) {
        SCOPED_TRACE(c.name);
        TempShare share;
        share.Write("Config/Config.ini", c.input);
        const CtlResult result = RunCtl({"format", share.PathOf("Config/Config.ini")});
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(result.out, c.canonical);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(share.Read("Config/Config.ini"), c.input);  // only printed
    }
}

std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

TEST(CtlFormat, InPlaceRewritesWithCrLfAndTruncates) {
    for (const FormatCase& c : kFormatCases) {
        SCOPED_TRACE(c.name);
        TempShare share;
        // A long tail that the shorter canonical text must not leave behind.
        share.Write("Config/Config.ini", c.input + "\n;" + std::string(500, 'x') + "\n");
        const CtlResult result = RunCtl({"format", "--in-place", share.PathOf("Config/Config.ini")});
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(share.Read("Config/Config.ini"), withCrLf(c.canonical));
    }
}

TEST(CtlFormat, MissingFileIsNeverCreated) {
    TempShare share;
    const std::string path = share.PathOf("Config.ini");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"format", path}, std::vector<std::string>{"format", "--in-place", path}}) {
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(result.err.empty());
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(CtlFormat, SampleFileIsStableUnderRewriting) {
    TempShare share(TempShare::Contents::Sample);
    const std::string path = share.PathOf("Config/Config.ini");
    const CtlResult first = RunCtl({"format", path});
    ASSERT_EQ(first.code, 0);
    ASSERT_EQ(RunCtl({"format", "--in-place", path}).code, 0);
    EXPECT_EQ(share.Read("Config/Config.ini"), withCrLf(first.out));
    EXPECT_EQ(RunCtl({"format", path}).out, first.out);
}

}  // namespace
