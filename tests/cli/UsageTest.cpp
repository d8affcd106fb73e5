#include <gtest/gtest.h>

#include "CtlRun.h"
#include "TargetFile.h"
#include "TempShare.h"

namespace {

TEST(CtlUsage, BadCommandLinesExitWith64) {
    const std::vector<std::vector<std::string>> cases = {
        {}, {"frobnicate"}, {"identify"}, {"get", "/share", "IP"}, {"identify", "/a", "/b"}, {"format", "--bogus", "x"},
        {"check", "{Type Edit}"}, {"set", "/share"}, {"set", "/share", "IP", "NetMask"},
        {"set", "/share", "IP", "NetMask", "255.0.0.0", "IP"},
    };
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, 64);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
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
        const struct { CtlResult result; std::string said; } cases[] = {
            {run(empty.Root()), FormatString(60022, {empty.Root()})},
            {run(missing), FormatString(60021, {missing})},
            {run(broken.Root()), broken.PathOf("Config/Config.ini") + ": not a regular file)"},
            {run("//no-such-host.invalid/cd"), "//no-such-host.invalid/cd"},
        };
        for (const auto& c : cases) {
            EXPECT_EQ(c.result.code, 2);
            EXPECT_EQ(c.result.out, "");
            EXPECT_NE(c.result.err.find(c.said), std::string::npos) << c.result.err;
        }
    }
}

TEST(CtlUsage, HelpAndVersionGoToStandardOutput) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"}, {"--version"}, {"set", "--help"}}) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.code, 0);
        EXPECT_NE(result.out, "");
        EXPECT_EQ(result.err, "");
    }
    EXPECT_NE(RunCtl({"--help"}).out.find("describe"), std::string::npos);
    EXPECT_NE(RunCtl({"set", "--help"}).out.find("SECTION KEY VALUE [SECTION KEY VALUE ...]"), std::string::npos);
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

}  // namespace
