#include <gtest/gtest.h>

#include "LocaleText.h"
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

// Every command that takes SHARE says what is wrong with it, names it, and
// exits 2 without output.
TEST(CtlUsage, EveryCommandSaysWhatIsWrongWithTheShare) {
    TempShare empty;
    TempShare broken;
    broken.Write("Config/Config.ini/inside", "");  // a folder where the file belongs
    const std::string missing = empty.Root() + "/gone";
    const std::vector<std::vector<std::string>> commands = {
        {"identify"}, {"get", "IP", "NetMask"}, {"describe", "--json"}, {"set", "IP", "NetMask", "255.0.0.0"},
        {"restart", "--yes"},
    };
    for (const auto& command : commands) {
        const auto run = [&](const std::string& share) {
            std::vector<std::string> args{command[0], share};
            args.insert(args.end(), command.begin() + 1, command.end());
            return RunCtl(args);
        };
        SCOPED_TRACE(command[0]);
        const struct {
            CtlResult result;
            std::string said;
        } cases[] = {
            {run(empty.Root()), FormatString(60022, {empty.Root()})},
            {run(missing), FormatString(60021, {missing})},
            {run(broken.Root()), broken.PathOf("Config/Config.ini") + ": not a regular file)"},
        };
        for (const auto& c : cases) {
            EXPECT_EQ(c.result.code, 2);
            EXPECT_EQ(c.result.out, "");
            EXPECT_NE(c.result.err.find(c.said), std::string::npos) << c.result.err;
        }
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
        const TargetFile target = ChooseFile(c.choice);
        EXPECT_EQ(share.Files()->PathOf(target.name), c.path);
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

}  // namespace
