#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ShareLocation.h"
#include "StringTable.h"
#include "TempShare.h"

namespace fs = std::filesystem;

namespace {

TEST(NetworkPath, RecognisesTheThreeForms) {
    const struct {
        const char* path;
        bool network;
        const char *host, *share;
        std::vector<std::string> rest;
    } cases[] = {
        {"\\\\tessaron1\\cd\\sub\\dir\\", true, "tessaron1", "cd", {"sub", "dir"}},
        {"//tessaron1/cd/", true, "tessaron1", "cd", {}},
        {"SMB://Tessaron1/CD/x", true, "Tessaron1", "CD", {"x"}},
        {"smb://guest@tessaron1:445/my%20cd/%4f%4F%39%30?x", true, "tessaron1", "my cd", {"OO90"}},
        {"//host", true, "host", "", {}},
        {"//", false, "", "", {}}, {"smb://", false, "", "", {}}, {"/mnt/tessaron", false, "", "", {}}, {"", false, "", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        NetworkPath network;
        ASSERT_EQ(ParseNetworkPath(c.path, network), c.network);
        if (!c.network) continue;
        EXPECT_EQ(network.host, c.host);
        EXPECT_EQ(network.share, c.share);
        EXPECT_EQ(network.rest, c.rest);
    }
}

const char* const kMounts =
    "/dev/sda1 / ext4 rw 0 0\n"
    "//tessaron1/cd /mnt/tessaron cifs rw 0 0\n"
    "//tessaron1/cd/Config /mnt/tessaron-config cifs rw 0 0\n"
    "//TESSARON1/CD /mnt/again cifs rw 0 0\n"
    "//other/my\\040cd /mnt/with\\040blank smb3 rw 0 0\n"
    "//notcifs/cd /mnt/notcifs nfs rw 0 0\n"
    "broken-line\n"
    "/dev/sdb1 /mnt/tessaron/local ext4 rw 0 0\n";

// A network share is reached through the mount the desktop already has.
TEST(ResolveServerPath, FindsTheMountOfANetworkShare) {
    const MountSources mounts{kMounts, ""};
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\TESSARON1\\CD", "/mnt/tessaron"},  // the first of equal mounts
        {"smb://tessaron1/cd/Volumes/", "/mnt/tessaron/Volumes"},
        {"//tessaron1/cd/config/x", "/mnt/tessaron-config/x"},  // the longer mount wins
        {"//other/My Cd", "/mnt/with blank"},
        {"/mnt/anything", "/mnt/anything"},  // a directory is kept as given
        {"//tessaron2/cd", nullptr}, {"//tessaron1/dvd", nullptr}, {"//tessaron1", nullptr}, {"//notcifs/cd", nullptr},
    };
    for (const auto& [path, resolved] : cases) {
        SCOPED_TRACE(path);
        if (resolved) { EXPECT_EQ(ResolveServerPath(path, mounts), resolved); }
        if (!resolved) { EXPECT_THROW(ResolveServerPath(path, mounts), ShareNotMounted); }
    }
    try {
        ResolveServerPath("\\\\tessaron2\\cd\\sub", mounts);
        FAIL() << "no error for a share that is not mounted";
    } catch (const ShareNotMounted& error) {
        EXPECT_EQ(error.Message(), FormatString(60010, {"//tessaron2/cd"}));
    }
}

TEST(ResolveServerPath, FindsTheDesktopsOwnMount) {
    TempShare gvfs;
    fs::create_directories(gvfs.PathOf("smb-share:server=tessaron1,share=cd,user=guest"));
    fs::create_directories(gvfs.PathOf("smb-share:domain=WG,server=other,share=my%20cd/Config"));
    fs::create_directories(gvfs.PathOf("ftp:host=tessaron3"));
    const MountSources mounts{"", gvfs.Root()};
    EXPECT_EQ(ResolveServerPath("smb://tessaron1/cd", mounts), gvfs.PathOf("smb-share:server=tessaron1,share=cd,user=guest"));
    const std::string other = gvfs.PathOf("smb-share:domain=WG,server=other,share=my%20cd");
    EXPECT_EQ(ResolveServerPath("//OTHER/My Cd/Config", mounts), other + "/Config");
    EXPECT_THROW(ResolveServerPath("//tessaron3/cd", mounts), ShareNotMounted);
    EXPECT_EQ(ServerName(other + "/Config", mounts), "other");
}

TEST(ServerName, ComesFromTheHostOrTheDirectory) {
    const MountSources mounts{kMounts, ""};
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\TESSARON1\\cd", "TESSARON1"}, {"smb://guest@tessaron9/cd", "tessaron9"},
        {"/mnt/tessaron/", "tessaron1"},    {"/mnt/tessaron/Volumes", "tessaron1"},  // in or below a mounted share
        {"/mnt/tessaron/local/x", "x"},     // an inner local mount decides
        {"/mnt/notcifs", "notcifs"},        {"/srv/a/../b/", "b"},  {"/", "/"},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(ServerName(path, mounts), name) << path;
}

}  // namespace
