#include <gtest/gtest.h>

#include <string>

#include "StringTable.h"

namespace {

struct StringCase {
    int id;
    const char* text;
};

// A cross-section of the table: captions, messages with their line breaks and
// quotes, the wording users know (spelling included) and catalogue names.
const StringCase kStrings[] = {
    {101, "&About QUOR Tessaron Configuration..."},
    {112, "Network CD-ROM Server"},
    {122, "Network HD Server"},
    {123, "Network Server"},
    {124, "Nothing has been changed!"},
    {125, "New settings were successfully submitted!\n\nNote: You have to restart the server to make the new "
          "settings take effect."},
    {126, "Unsuccessful setting!"},
    {128, "Setting Restart to \"yes\" will cause the server to restart and the Configuration window to close "
          "down.\n\nAre you sure you want to continue?"},
    {129, "Setting Factory Default to \"yes\" will cause the server to restart and the Configuration window to "
          "close down.\n\nAre you sure you want to continue?"},
    {130, "Establishing connection..."},
    {131, "It will take a moment before the server is up and running again."},
    {135, "Enter server names separated with commas.\nNote: Do not include spaces!"},
    {136, "New settings were successfully submitted!"},
    {137, "QUOR Tessaron Configuration"},
    {138, "JQ CD-ROM Server Utility"},
    {140, "&About JQ CD-ROM Server Utility..."},
    {141, "QUOR Tessaron CD"},
    {142, "QUOR Tessaron HD"},
    {1003, "The software version in the server may not be fully supported by this program.\n\nNote: "
           "Configuration parameters marked with asterisk may not be checked for validation, use with care!"},
    {1004, "Could not get necessary server files!\n\nProperty page will not be available."},
    {1007, "Could not communicate with the server!"},
    {1009, "This property tab has to many parameters.\n\nSome parameters will not be shown."},
    {1010, "Unresolved error occured.\n\nConfiguration window will close down."},
    {1018, "The accessed server is not a supported unit!"},
    {1020, "A server name can not be longer than 47 characters."},
    {1022, "Illegal parameter value!\n\nPress F1 for more help."},
    {1024, "Time must have the format hh:mm:ss"},
    {1025, "Date must have the format yy-mm-dd"},
    {1026, "Could not open event log!"},
    {10100, "Server"},
    {10503, "PCNFSD Authent. Server"},
    {10600, "HTTP/FTP"},
    {10708, "Trap Community Name"},
    {10802, "Frame 802.2"},
    {10817, "NDS Admin. Password"},
    {10819, "Time Sync Sources"},
    {20100, "Drive"},
    {20103, "SCSI Alias"},
    {20205, "NetWare User/Group"},
    {20212, "Inserted Volume"},
    {30001, "Volume Rights"},
    {30002, "SCSI"},
};

TEST(StringTable, HoldsTheExactTexts) {
    for (const StringCase& c : kStrings) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(LoadString(c.id), c.text);
    }
}

TEST(StringTable, UnknownIdsGiveTheEmptyText) {
    for (int id : {0, -1, 1, 100, 103, 1001, 1012, 1014, 1017, 1019, 1023, 10110, 10820, 20104, 20213, 30003,
                   99999}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(LoadString(id), "");
    }
}

// Display names of the catalogue: every ID of a block answers, without gaps,
// so no parameter shows an empty label.
TEST(StringTable, CatalogueNameBlocksAreComplete) {
    struct Block {
        int first;
        int last;
    };
    const Block blocks[] = {{10100, 10109}, {10200, 10204}, {10300, 10305}, {10400, 10406}, {10500, 10503},
                            {10600, 10603}, {10700, 10708}, {10800, 10819}, {20100, 20103}, {20200, 20212}};
    for (const Block& b : blocks) {
        for (int id = b.first; id <= b.last; ++id) {
            SCOPED_TRACE(id);
            EXPECT_FALSE(LoadString(id).empty());
        }
    }
}

TEST(StringTable, BrandingFollowsTheBuild) {
#ifdef TESSARON_OEM_BUILD
    EXPECT_NE(LoadString(102), "Quor");
#else
    EXPECT_EQ(LoadString(102), "Quor");
#endif
    EXPECT_FALSE(LoadString(102).empty());
}

}  // namespace
