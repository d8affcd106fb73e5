#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Listings.h"
#include "TempShare.h"

namespace {

std::vector<std::string> listed(const TempShare& share, const std::string& version) {
    std::vector<std::string> lines;
    for (const VolumeRightsFile& file : ListVolumeRightsFiles(*share.Files(), version)) {
        lines.push_back(file.line + " | " + file.name);
    }
    return lines;
}

// Which files a version lists, in which order, named how: only regular files
// of the layout the version keeps; folders and files by name, letter case
// aside; hidden files, links leading out and other things left out.
TEST(ListingsTest, VolumeRightsFilesByLayoutAndName) {
    TempShare outside;
    outside.Write("SECRET.USR", "Name = X\r\n");
    TempShare share;
    for (const char* file : {"Volumes/cdrom2/ADMIN.GRP", "Volumes/CDROM1/GUEST.USR", "Volumes/CDROM1/admin.grp",
                             "Volumes/CDROM1/NOEXT", "Volumes/CDROM1/.hidden", "Volumes/FLAT.USR",
                             "Volumes/CDROM1/Sub/DEEP.USR"}) {
        share.Write(file, "Name = x\r\n");
    }
    std::filesystem::create_directories(share.PathOf("Volumes/EMPTY"));
    ASSERT_EQ(::mkfifo(share.PathOf("Volumes/CDROM1/PIPE").c_str(), 0600), 0);
    std::filesystem::create_symlink(outside.PathOf("SECRET.USR"), share.PathOf("Volumes/CDROM1/OUT.USR"));
    std::filesystem::create_directory_symlink(outside.Root(), share.PathOf("Volumes/AWAY"));

    EXPECT_EQ(listed(share, "3.01"), std::vector<std::string>{"Volumes - FLAT | Volumes/FLAT.USR"});
    EXPECT_EQ(listed(share, "3.00"), listed(share, "3.01"));
    const std::vector<std::string> folders = {
        "CDROM1 - admin | Volumes/CDROM1/admin.grp", "CDROM1 - GUEST | Volumes/CDROM1/GUEST.USR",
        "CDROM1 - NOEXT | Volumes/CDROM1/NOEXT", "cdrom2 - ADMIN | Volumes/cdrom2/ADMIN.GRP"};
    EXPECT_EQ(listed(share, "3.10"), folders);
    EXPECT_EQ(listed(share, "4.00"), folders);
    EXPECT_THROW(ListVolumeRightsFiles(*TempShare().Files(), "4.00"), FileException);  // no Volumes folder
}

TEST(ListingsTest, DriveSectionsAndTheirDrives) {
    ParameterHandler scsi;
    scsi.ReadText("[ID_2]\nDrive = D\n[ID2_LUN0]\nA = 1\n[Other]\nB = 2\n[ID12_LUN3]\nC = 3\n");
    EXPECT_EQ(ListScsiDrives(scsi), (std::vector<std::string>{"ID2_LUN0", "ID12_LUN3"}));
    EXPECT_EQ(DriveSectionOf("ID2_LUN0"), "ID_2");
    EXPECT_EQ(DriveSectionOf("ID12_LUN3"), "ID_12");
    EXPECT_EQ(DriveSectionOf("LUN0"), "");
}

}  // namespace
