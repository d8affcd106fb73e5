#include <gtest/gtest.h>

#include "Cp1252.h"
#include "CtlRun.h"
#include "TargetFile.h"
#include "TempShare.h"

namespace {

TEST(CtlUsage, BadCommandLinesExitWith64) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"identify"},
        {"get", "/share", "IP"},
        {"identify", "/a", "/b"},
        {"format", "--bogus", "x"},
        {"check", "{Type Edit}"},
        {"set", "/share"},
    };
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, 64);
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(result.err.empty());
    }
}

TEST(CtlUsage, HelpAndVersionGoToStandardOutput) {
    const std::vector<std::vector<std::string>> cases = {{"--help"}, {"--version"}, {"set", "--help"}};
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, 0);
        EXPECT_FALSE(result.out.empty());
        EXPECT_EQ(result.err, "");
    }
    EXPECT_NE(RunCtl({"--help"}).out.find("describe"), std::string::npos);
    EXPECT_NE(RunCtl({"set", "--help"}).out.find("--yes"), std::string::npos);
}

TEST(TargetFile, KindFollowsFolderAndName) {
    const std::pair<const char*, CatalogueKind> cases[] = {
        {"Volumes/CDROM1/GUEST.USR", VolumeRights},
        {"\\VOLUMES\\x.usr", VolumeRights},
        {"/srv/share/volumes/CD/ADMIN.GRP", VolumeRights},
        {"Volumes", Configuration},  // the folder itself is no rights file
        {"Config/scsi.ini", ScsiDrives},
        {"\\Config\\SCSI.INI", ScsiDrives},
        {"scsi.ini.bak", Configuration},
        {"Config/Config.ini", Configuration},
        {"", Configuration},
    };
    for (const auto& [path, kind] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(KindOfPath(path), kind);
    }
}

TEST(TargetFile, ChoicesNameTheShareFiles) {
    TempShare share(TempShare::Contents::Sample);
    struct Case {
        std::string choice;
        std::string path;
        CatalogueKind kind;
    };
    const Case cases[] = {
        {"", share.PathOf("Config/Config.ini"), Configuration},
        {"config", share.PathOf("Config/Config.ini"), Configuration},
        {"scsi", share.PathOf("Config/scsi.ini"), ScsiDrives},
        {"volumes/cdrom2/staff.grp", share.PathOf("Volumes/CDROM2/STAFF.GRP"), VolumeRights},
        {"\\Config\\SCSI.INI", share.PathOf("Config/scsi.ini"), ScsiDrives},
        {share.PathOf("Volumes/CDROM1/ADMIN.GRP"), share.PathOf("Volumes/CDROM1/ADMIN.GRP"), VolumeRights},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        const TargetFile target = ChooseFile(share.Root(), c.choice);
        EXPECT_EQ(target.path, c.path);
        EXPECT_EQ(target.kind, c.kind);
    }
}

TEST(Cp1252, MapsEveryByteToOneCharacter) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"\x80", "\u20AC"},
        {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},  // undefined bytes keep their number
        {"\x9F\xA0\xE9\xFF", "\u0178\u00A0\u00E9\u00FF"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        EXPECT_EQ(Cp1252ToUtf8(bytes), text);
    }
}

TEST(Cp1252, UpperCaseLikeAnUpperCaseEditBox) {
    const std::pair<std::string, std::string> cases[] = {
        {"server_1", "SERVER_1"}, {"\xE9t\xE9", "\xC9T\xC9"}, {"\xF7\xDF", "\xF7\xDF"},
        {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"}, {"A-b.9 z", "A-B.9 Z"},
    };
    for (const auto& [text, upper] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Cp1252UpperCase(text), upper);
    }
}

}  // namespace
