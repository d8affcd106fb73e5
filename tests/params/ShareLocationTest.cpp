#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ShareLocation.h"
#include "TempShare.h"

namespace fs = std::filesystem;

namespace {

struct NetworkCase {
    const char* path;
    bool network;
    const char* host;
    const char* share;
    std::vector<std::string> rest;
};

TEST(NetworkPath, RecognisesTheThreeForms) {
    const NetworkCase cases[] = {
        {"//tessaron1/cd", true, "tessaron1", "cd", {}},
        {"\\\\tessaron1\\cd", true, "tessaron1", "cd", {}},
        {"\\\\tessaron1\\cd\\sub\\dir\\", true, "tessaron1", "cd", {"sub", "dir"}},
        {"//tessaron1/cd/", true, "tessaron1", "cd", {}},
        {"smb://tessaron1/cd", true, "tessaron1", "cd", {}},
        {"SMB://Tessaron1/CD/x", true, "Tessaron1", "CD", {"x"}},
        {"smb://guest@tessaron1:445/cd", true, "tessaron1", "cd", {}},
        {"smb://host/my%20share", true, "host", "my share", {}},
        {"//host", true, "host", "", {}},
        {"//", false, "", "", {}},
        {"smb://", false, "", "", {}},
        {"/mnt/tessaron", false, "", "", {}},
        {"relative/dir", false, "", "", {}},
        {"", false, "", "", {}},
    };
    for (const NetworkCase& c : cases) {
        SCOPED_TRACE(c.path);
        NetworkPath network;
        ASSERT_EQ(ParseNetworkPath(c.path, network), c.network);
        if (!c.network) continue;
        EXPECT_EQ(network.host, c.host);
        EXPECT_EQ(network.share, c.share);
        EXPECT_EQ(network.rest, c.rest);
    }
}

TEST(Mounts, ParsesTheMountTableWithEscapes) {
    const std::string text =
        "proc /proc proc rw 0 0\n"
        "//srv/my\\040share /mnt/with\\040blank cifs rw,vers=3.0 0 0\n"
        "\n"
        "broken-line\n";
    const std::vector<MountEntry> mounts = ParseMounts(text);
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[1].source, "//srv/my share");
    EXPECT_EQ(mounts[1].target, "/mnt/with blank");
    EXPECT_EQ(mounts[1].type, "cifs");
}

const char* const kMounts =
    "/dev/sda1 / ext4 rw 0 0\n"
    "//tessaron1/cd /mnt/tessaron cifs rw 0 0\n"
    "//tessaron1/cd/Config /mnt/tessaron-config cifs rw 0 0\n"
    "//other/cd /mnt/other smb3 rw 0 0\n"
    "//notcifs/cd /mnt/notcifs nfs rw 0 0\n"
    "/dev/sdb1 /mnt/tessaron/local ext4 rw 0 0\n";

struct ResolveCase {
    const char* path;
    const char* resolved;  // nullptr: not mounted
};

TEST(ResolveServerPath, FindsTheMountOfANetworkShare) {
    const MountSources mounts{kMounts, ""};
    const ResolveCase cases[] = {
        {"//tessaron1/cd", "/mnt/tessaron"},
        {"\\\\TESSARON1\\CD", "/mnt/tessaron"},
        {"smb://tessaron1/cd/", "/mnt/tessaron"},
        {"//tessaron1/cd/Volumes", "/mnt/tessaron/Volumes"},
        {"//tessaron1/cd/config/x", "/mnt/tessaron-config/x"},  // the longer mount wins
        {"//other/cd", "/mnt/other"},
        {"/mnt/anything", "/mnt/anything"},  // a directory is kept as given
        {"//tessaron2/cd", nullptr},
        {"//tessaron1/dvd", nullptr},
        {"//tessaron1", nullptr},
        {"//notcifs/cd", nullptr},
    };
    for (const ResolveCase& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.resolved) {
            EXPECT_EQ(ResolveServerPath(c.path, mounts), c.resolved);
        } else {
            EXPECT_THROW(ResolveServerPath(c.path, mounts), ShareNotMounted);
        }
    }
}

TEST(ResolveServerPath, NamesTheMissingShareInItsMessage) {
    try {
        ResolveServerPath("\\\\tessaron2\\cd\\sub", MountSources{kMounts, ""});
        FAIL() << "no error for a share that is not mounted";
    } catch (const ShareNotMounted& error) {
        EXPECT_EQ(error.share, "//tessaron2/cd");
        EXPECT_NE(error.Message().find("//tessaron2/cd"), std::string::npos);
        EXPECT_EQ(error.Message().find("%1"), std::string::npos);
    }
}

TEST(ResolveServerPath, FindsTheDesktopsOwnMount) {
    TempShare gvfs;
    fs::create_directories(gvfs.PathOf("smb-share:server=tessaron1,share=cd,user=guest"));
    fs::create_directories(gvfs.PathOf("smb-share:domain=WG,server=other,share=my%20cd"));
    fs::create_directories(gvfs.PathOf("ftp:host=tessaron3"));
    const MountSources mounts{"", gvfs.Root()};
    EXPECT_EQ(ResolveServerPath("smb://tessaron1/cd", mounts),
              gvfs.PathOf("smb-share:server=tessaron1,share=cd,user=guest"));
    EXPECT_EQ(ResolveServerPath("//OTHER/My Cd/Config", mounts),
              gvfs.PathOf("smb-share:domain=WG,server=other,share=my%20cd") + "/Config");
    EXPECT_THROW(ResolveServerPath("//tessaron3/cd", mounts), ShareNotMounted);
}

struct NameCase {
    const char* path;
    const char* name;
};

TEST(ServerName, ComesFromTheHostOrTheDirectory) {
    const MountSources mounts{kMounts, ""};
    const NameCase cases[] = {
        {"//tessaron1/cd", "tessaron1"},
        {"\\\\TESSARON1\\cd", "TESSARON1"},
        {"smb://guest@tessaron9/cd", "tessaron9"},
        {"/mnt/tessaron", "tessaron1"},           // a mounted share
        {"/mnt/tessaron/", "tessaron1"},
        {"/mnt/tessaron/Volumes", "tessaron1"},   // below a mounted share
        {"/mnt/other", "other"},
        {"/mnt/tessaron/local/x", "x"},           // an inner local mount decides
        {"/mnt/notcifs", "notcifs"},
        {"/srv/tessaron-copy", "tessaron-copy"},  // a plain directory
        {"/srv/a/../b/", "b"},
        {"/", "/"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ServerName(c.path, mounts), c.name);
    }
}

TEST(ServerName, ComesFromTheDesktopsMountFolder) {
    TempShare gvfs;
    const std::string folder = gvfs.PathOf("smb-share:server=tessaron7,share=cd");
    fs::create_directories(folder + "/Config");
    const MountSources mounts{"", gvfs.Root()};
    EXPECT_EQ(ServerName(folder, mounts), "tessaron7");
    EXPECT_EQ(ServerName(folder + "/Config", mounts), "tessaron7");
}

}  // namespace
