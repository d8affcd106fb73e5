#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "Catalogue.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ShareFile.h"
#include "StoreDump.h"
#include "TempShare.h"

namespace {

namespace fs = std::filesystem;

const std::string sampleFile =
    "QUOR Tessaron CD V3.02 S/N: 1234\r\n[Server]\r\nServerName = TESS ; the name\r\n  Restart = no\r\n"
    "[SMB]\r\nSMBPassword = \r\nNFSUser = a\r\nNFSUser = b\r\n[END]\r\n";

ParameterHandler Loaded(const TempShare& share, const std::string& name, CatalogueKind kind = Configuration) {
    ParameterHandler handler;
    handler.Load(share.Files(), name, CatalogueOf(kind));
    return handler;
}

TEST(HandlerFile, LoadsAndWritesBackCanonically) {
    TempShare share;
    share.Write("Config/Config.ini", sampleFile + "[Extra]\r\nLong = " + std::string(3000, 'x') + "\r\n");
    ParameterHandler handler = Loaded(share, "\\config\\CONFIG.ini");
    EXPECT_EQ(handler.GetPath(), share.PathOf("Config/Config.ini"));
    EXPECT_EQ(Dump(handler), "[]\n=||0\n[Server]\nServerName=TESS|the name|0\nRestart=no||1\n[SMB]\nSMBPassword=||0\n"
                             "NFSUser=a ; b||0\n[Extra]\nLong=" + std::string(3000, 'x') + "||0\n");
    ASSERT_TRUE(handler.SetValue("Server", "Restart", "yes"));
    ASSERT_TRUE(handler.SetValue("Extra", "Long", "short"));
    handler.Write();
    // The old, longer file leaves nothing behind the terminator.
    EXPECT_EQ(share.Read("Config/Config.ini"), " = \r\n[Server]\r\nServerName = TESS\r\nRestart = yes\r\n[SMB]\r\n"
                                               "NFSUser = a\r\nNFSUser = b\r\n[Extra]\r\nLong = short\r\n[END]\r\n");
}

// Load reads a file larger than one read of the disk exactly as its text.
TEST(HandlerFile, LoadsALargeFileLikeItsText) {
    std::string text = "Title\r\n";
    for (int line = 0; line < 30000; ++line) {
        if (line % 100 == 0) text += "[Section" + std::to_string(line % 700) + "]\r\n";
        text += "  Key" + std::to_string(line % 37) + " = " + std::string(line % 13, 'v') + " ; c\r\n";
    }
    TempShare share;
    share.Write("Config.ini", text);
    EXPECT_TRUE(Dump(Loaded(share, "Config.ini")) == Dump(FromText(TextOfBytes(text))));
}

// A failed Load leaves an empty handler, whatever it held before, and a
// Write never creates a file.
TEST(HandlerFile, AFailedLoadLeavesNothingToWrite) {
    TempShare share;
    share.Write("good.ini", "[A]\r\nx=1\r\n");
    share.Write("folder.ini/inside", "");
    for (const char* name : {"missing.ini", "folder.ini"}) {
        SCOPED_TRACE(name);
        ParameterHandler handler = Loaded(share, "good.ini");
        ASSERT_EQ(handler.GetSectionCount(), 1);
        EXPECT_THROW(handler.Load(share.Files(), name, CatalogueOf(Configuration)), FileException);
        EXPECT_EQ(handler.GetSectionCount(), 0);
        EXPECT_THROW(handler.Write(), FileException);
    }
    ParameterHandler handler = Loaded(share, "good.ini");
    fs::remove(share.PathOf("good.ini"));
    EXPECT_THROW(handler.Write(), FileException);
    EXPECT_THROW(ParameterHandler().Write(), FileException);
    EXPECT_FALSE(fs::exists(share.PathOf("missing.ini")) || fs::exists(share.PathOf("good.ini")));
}

// Every parameter file of the bundled sample share survives a rewrite.
TEST(HandlerFile, SampleShareFilesSurviveRewrite) {
    TempShare share(TempShare::Contents::Sample);
    const std::pair<const char*, CatalogueKind> files[] = {
        {"\\Config\\Config.ini", Configuration}, {"\\Config\\scsi.ini", ScsiDrives},
        {"\\Volumes\\CDROM1\\GUEST.USR", VolumeRights}, {"\\Volumes\\CDROM2\\STAFF.GRP", VolumeRights},
    };
    for (const auto& [name, kind] : files) {
        SCOPED_TRACE(name);
        ParameterHandler first = Loaded(share, name, kind);
        ASSERT_GT(first.GetSectionCount(), 0);
        first.Write();
        EXPECT_EQ(Loaded(share, name, kind).Format(), first.Format());
        EXPECT_TRUE(ReadBytes(first.GetPath()).ends_with("[END]\r\n"));
    }
}

}  // namespace
