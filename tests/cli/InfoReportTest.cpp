#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

#include "CtlRun.h"
#include "TempShare.h"

namespace {

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
    std::filesystem::remove(share.PathOf("Config/Logfile.txt"));
    const CtlResult result = RunCtl({"log", share.Root()});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind(LoadString(1026) + " (", 0), 0u) << result.err;
}

// The lines of the list-driven pages, tab-separated or as JSON (a drive
// without its own section has an empty name); an empty listing is said on
// standard error and is no failure.
TEST(CtlVolumesDrives, ListWhatThePagesList) {
    TempShare share(TempShare::Contents::Sample);
    EXPECT_EQ(RunCtl({"volumes", share.Root()}).out,
              "CDROM1 - ADMIN\tVolumes/CDROM1/ADMIN.GRP\nCDROM1 - GUEST\tVolumes/CDROM1/GUEST.USR\n"
              "CDROM2 - GUEST\tVolumes/CDROM2/GUEST.USR\nCDROM2 - STAFF\tVolumes/CDROM2/STAFF.GRP\n");
    share.Write("Config/scsi.ini", "[ID_2]\r\nDrive = T\"\\\r\n[ID2_LUN0]\r\nA = 1\r\n[ID3_LUN1]\r\nA = 1\r\n[Other]\r\nA = 1\r\n");
    EXPECT_EQ(nlohmann::json::parse(RunCtl({"drives", share.Root(), "--json"}).out),
              nlohmann::json::parse(R"([{"line": "ID2_LUN0", "drive": "T\"\\"}, {"line": "ID3_LUN1", "drive": ""}])"));

    share.Write("Config/scsi.ini", "[ID_2]\r\n");
    std::filesystem::remove_all(share.PathOf("Volumes/CDROM1"));
    std::filesystem::remove_all(share.PathOf("Volumes/CDROM2"));
    for (const char* command : {"drives", "volumes"}) {
        const CtlResult result = RunCtl({command, share.Root(), "--json"});
        EXPECT_EQ(result.code, 0) << command;
        EXPECT_EQ(result.out, "[]\n") << command;
        EXPECT_EQ(result.err, LoadString(command[0] == 'd' ? 1015 : 1016) + "\n") << command;
    }
    std::filesystem::remove_all(share.PathOf("Volumes"));
    EXPECT_EQ(RunCtl({"volumes", share.Root()}).code, 2);
}

}  // namespace
