#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <utility>

#include "Catalogue.h"
#include "FileException.h"
#include "FileLock.h"
#include "ParameterHandler.h"
#include "ShareFile.h"
#include "StoreDump.h"
#include "TempShare.h"

namespace {

namespace fs = std::filesystem;

const std::string sampleFile =
    "QUOR Tessaron CD V3.02 S/N: 1234\r\n"
    "[Server]\r\n"
    "ServerName = TESS ; the name\r\n"
    "  Restart = no\r\n"
    "[SMB]\r\n"
    "SMBPassword = \r\n"
    "NFSUser = a\r\n"
    "NFSUser = b\r\n"
    "[END]\r\n";

TEST(HandlerFileTest, LoadsAndWritesBackCanonically) {
    TempShare share;
    share.Write("Config/Config.ini", sampleFile);
    ParameterHandler handler;
    handler.Load(share.Files(), "\\Config\\Config.ini", CatalogueOf(Configuration));
    EXPECT_EQ(handler.GetPath(), share.PathOf("Config/Config.ini"));
    EXPECT_EQ(Dump(handler),
              "[]\n=||0\n[Server]\nServerName=TESS|the name|0\nRestart=no||1\n[SMB]\nSMBPassword=||0\nNFSUser=a ; b||0\n");
    ASSERT_TRUE(handler.SetValue("Server", "Restart", "yes"));
    handler.Write();
    EXPECT_EQ(share.Read("Config/Config.ini"),
              " = \r\n[Server]\r\nServerName = TESS\r\nRestart = yes\r\n[SMB]\r\nNFSUser = a\r\nNFSUser = b\r\n[END]\r\n");
}

TEST(HandlerFileTest, LoadForgetsEarlierSections) {
    TempShare share;
    share.Write("a.ini", "[A]\r\nx=1\r\n");
    share.Write("b.ini", "[B]\r\ny=2\r\n");
    ParameterHandler handler;
    handler.Load(share.Files(), "a.ini", CatalogueOf(Configuration));
    handler.Load(share.Files(), "b.ini", CatalogueOf(ScsiDrives));
    EXPECT_EQ(Dump(handler), "[B]\ny=2||0\n");
    EXPECT_EQ(handler.GetPath(), share.PathOf("b.ini"));
}

// Load reads a file larger than one read of the disk exactly as the text.
TEST(HandlerFileTest, LoadsLargeFileLikeItsText) {
    std::string text = "Title\r\n";
    for (int line = 0; line < 30000; ++line) {
        if (line % 100 == 0) text += "[Section" + std::to_string(line % 700) + "]\r\n";
        text += "  Key" + std::to_string(line % 37) + " = " + std::string(line % 13, 'v') + " ; c" +
                std::to_string(line) + "\r\n";
    }
    TempShare share;
    share.Write("Config.ini", text);
    ParameterHandler loaded;
    loaded.Load(share.Files(), "Config.ini", CatalogueOf(Configuration));
    EXPECT_TRUE(Dump(loaded) == Dump(FromText(text)));
}

// A failed Load leaves an empty handler, whatever it held before, and Write
// afterwards does not create the missing file.
TEST(HandlerFileTest, FailedLoadLeavesNoSections) {
    TempShare share;
    share.Write("good.ini", "[A]\r\nx=1\r\n");
    share.Write("locked.ini", "[L]\r\ny=2\r\n");
    FileLock lock(share.PathOf("locked.ini"));
    for (const char* name : {"missing.ini", "locked.ini"}) {
        SCOPED_TRACE(name);
        ParameterHandler handler;
        handler.Load(share.Files(), "good.ini", CatalogueOf(Configuration));
        ASSERT_EQ(handler.GetSectionCount(), 1);
        EXPECT_THROW(handler.Load(share.Files(), name, CatalogueOf(Configuration)), FileException);
        EXPECT_EQ(handler.GetSectionCount(), 0);
        EXPECT_THROW(handler.Write(), FileException);
    }
    EXPECT_FALSE(fs::exists(share.PathOf("missing.ini")));
    EXPECT_EQ(share.Read("locked.ini"), "[L]\r\ny=2\r\n");
}

TEST(HandlerFileTest, WriteNeverCreatesAFile) {
    TempShare share;
    share.Write("Config/Config.ini", sampleFile);
    ParameterHandler handler;
    handler.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    fs::remove(share.PathOf("Config/Config.ini"));
    EXPECT_THROW(handler.Write(), FileException);
    EXPECT_FALSE(fs::exists(share.PathOf("Config/Config.ini")));

    ParameterHandler neverLoaded;
    EXPECT_THROW(neverLoaded.Write(), FileException);
}

// The old file's tail must not survive behind the terminator: read again it
// would come back as a section END and be written once more.
TEST(HandlerFileTest, ShorterTextReplacesLongerFileWhole) {
    TempShare share;
    share.Write("Config/Config.ini", sampleFile + "[Extra]\r\nLong = " + std::string(3000, 'x') + "\r\n");
    ParameterHandler handler;
    handler.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    ASSERT_TRUE(handler.SetValue("Extra", "Long", "short"));
    handler.Write();
    ParameterHandler again;
    again.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    EXPECT_THROW(again.GetSection("END"), ParameterHandler::ParameterError);
    EXPECT_EQ(share.Read("Config/Config.ini"),
              " = \r\n[Server]\r\nServerName = TESS\r\nRestart = no\r\n[SMB]\r\nNFSUser = a\r\nNFSUser = b\r\n"
              "[Extra]\r\nLong = short\r\n[END]\r\n");
}

TEST(HandlerFileTest, WriteToLockedFileLeavesItAsItWas) {
    TempShare share;
    share.Write("Config.ini", sampleFile);
    ParameterHandler handler;
    handler.Load(share.Files(), "Config.ini", CatalogueOf(Configuration));
    handler.SetValue("Server", "ServerName", "OTHER");
    FileLock lock(share.PathOf("Config.ini"));
    EXPECT_THROW(handler.Write(), FileException);
    EXPECT_EQ(share.Read("Config.ini"), sampleFile);
}

// Runs the body with the process limited to files of limit bytes, so that a
// write beyond it fails part-way as on a full disk.
template <class Body>
void WithFileSizeLimit(rlim_t limit, Body body) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    body();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
}

TEST(HandlerFileTest, WriteFailingPartWayPutsOldBytesBack) {
    TempShare share;
    share.Write("Config/Config.ini", sampleFile);
    ParameterHandler handler;
    handler.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    ASSERT_TRUE(handler.SetValue("Server", "ServerName", std::string(20000, 'n')));
    WithFileSizeLimit(8192, [&] { EXPECT_THROW(handler.Write(), FileException); });
    EXPECT_EQ(share.Read("Config/Config.ini"), sampleFile);
    // The same write succeeds once there is room.
    handler.Write();
    EXPECT_GT(share.Read("Config/Config.ini").size(), 20000u);
}

// A restart request on a file without the key cannot create it.
TEST(HandlerFileTest, RestartWithoutKeyChangesNothing) {
    TempShare share;
    share.Write("Config/Config.ini", "[Server]\r\nServerName = TESS\r\n[END]\r\n");
    ParameterHandler handler;
    handler.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    EXPECT_FALSE(handler.SetValue("Server", "Restart", "yes"));
    handler.Write();
    const std::string written = share.Read("Config/Config.ini");
    EXPECT_EQ(written, "[Server]\r\nServerName = TESS\r\n[END]\r\n");
    EXPECT_EQ(written.find("Restart"), std::string::npos);
}

// Every parameter file of the bundled sample share survives a rewrite: the
// written file reads back into the same sections and values and ends with
// the terminator.
TEST(HandlerFileTest, SampleShareFilesSurviveRewrite) {
    TempShare share(TempShare::Contents::Sample);
    const std::pair<const char*, CatalogueKind> files[] = {
        {"\\Config\\Config.ini", Configuration},       {"\\Config\\scsi.ini", ScsiDrives},
        {"\\Volumes\\CDROM1\\GUEST.USR", VolumeRights}, {"\\Volumes\\CDROM1\\ADMIN.GRP", VolumeRights},
        {"\\Volumes\\CDROM2\\STAFF.GRP", VolumeRights},
    };
    for (const auto& [relative, kind] : files) {
        SCOPED_TRACE(relative);
        const std::string path = SharePath(share.Root(), relative);
        ParameterHandler first;
        first.Load(share.Files(), relative, CatalogueOf(kind));
        ASSERT_GT(first.GetSectionCount(), 0);
        first.Write();
        ParameterHandler second;
        second.Load(share.Files(), relative, CatalogueOf(kind));
        EXPECT_EQ(second.GetSectionCount(), first.GetSectionCount());
        EXPECT_EQ(second.Format(), first.Format());
        const std::string written = ReadBytes(path);
        ASSERT_GE(written.size(), 7u);
        EXPECT_EQ(written.substr(written.size() - 7), "[END]\r\n");
    }
}

}  // namespace
