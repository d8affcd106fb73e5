#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileException.h"
#include "ServerIdentity.h"
#include "TempShare.h"

namespace {

struct CommandLineCase {
    const char* name;
    std::vector<std::string> args;
    std::string serverPath;
    bool help;
    bool version;
};

TEST(CommandLine, TakesTheFirstArgumentThatIsNotAFlag) {
    const CommandLineCase cases[] = {
        {"nothing", {}, "", false, false},
        {"flag, share, one more", {"-x", "\\\\srv\\cd", "extra"}, "\\\\srv\\cd", false, false},
        {"path beginning with a slash", {"/mnt/tessaron"}, "/mnt/tessaron", false, false},
        {"slash path after flags", {"--verbose", "-q", "/mnt/a", "/mnt/b"}, "/mnt/a", false, false},
        {"help and version are reported", {"--help", "--version", "/srv"}, "/srv", true, true},
        {"only flags", {"-", "--", "-help"}, "", false, false},
        {"path kept unchanged", {"  odd name "}, "  odd name ", false, false},
        {"smb url", {"smb://host/share"}, "smb://host/share", false, false},
        {"empty argument is a path", {"", "/srv"}, "", false, false},
    };
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.serverPath, c.serverPath);
        EXPECT_EQ(line.help, c.help);
        EXPECT_EQ(line.version, c.version);
    }
}

struct IdentityCase {
    const char* line;
    bool accepted;
    const char* productTitle;
    int serverKind;
    const char* version;
    bool supported;
};

TEST(IdentifyFirstLine, ClassifiesAndReadsTheVersion) {
    const IdentityCase cases[] = {
        {"QUOR Tessaron CD-ROM Server V4.00 (c) 1998 S/N: 1", true, "QUOR Tessaron CD", 0, "4.00", true},
        {"QUOR Tessaron CD-ROM Server V3.02 ", true, "QUOR Tessaron CD", 0, "3.02", false},
        {"Tessaron HD Server V4.00 x", false, "", 0, "", false},      // Tessaron without CD
        {"QUOR Tessaron Server V4.00 x", false, "", 0, "", false},    // neither CD nor JQ
        {"JQ HD-Server V3.07 x", true, "QUOR Tessaron HD", 1, "3.07", true},
        {"JQ CD-Server V3.07 x", true, "QUOR Tessaron CD", 0, "3.07", true},  // CD wins over JQ
        {"Made by JQ-7000 Server V3.06 x", true, "JQ 7000", 0, "3.06", true},
        {"Server family JQ", true, "JQ ", 0, "Unknown", false},        // line ends at JQ
        {"Server family JQ-", true, "JQ ", 0, "Unknown", false},       // ends within the skipped character
        {"Server family JQ-A", true, "JQ A", 0, "Unknown", false},
        {"JQ-ABC", true, "JQ ABC", 0, "Unknown", false},
        {"Tessaron CD V3.0 x", true, "QUOR Tessaron CD", 0, "3.0", true},    // substring of the list
        {"Tessaron CD V00 x", true, "QUOR Tessaron CD", 0, "00", true},
        {"Tessaron CD V x", true, "QUOR Tessaron CD", 0, "", true},          // V followed by a blank
        {"Tessaron CD V4.00", true, "QUOR Tessaron CD", 0, "Unknown", false}, // no blank after V
        {"Tessaron CD version 4.00 x", true, "QUOR Tessaron CD", 0, "Unknown", false},  // lower-case v only
        {"Tessaron CD VersionX 4 x", true, "QUOR Tessaron CD", 0, "ersionX", false},
        {"tessaron cd V4.00 x", false, "", 0, "", false},                    // case-sensitive
        {"", false, "", 0, "", false},                                       // empty first line
    };
    for (const IdentityCase& c : cases) {
        SCOPED_TRACE(c.line);
        const ServerIdentity identity = IdentifyFirstLine(true, c.line);
        EXPECT_TRUE(identity.lineFound);
        EXPECT_EQ(identity.accepted, c.accepted);
        EXPECT_EQ(identity.productTitle, c.productTitle);
        EXPECT_EQ(identity.serverKind, c.serverKind);
        EXPECT_EQ(identity.version, c.version);
        EXPECT_EQ(identity.versionSupported, c.supported);
    }
}

TEST(IdentifyFirstLine, FileWithoutAnyLineIsAcceptedWithUnknownVersion) {
    const ServerIdentity identity = IdentifyFirstLine(false, "");
    EXPECT_FALSE(identity.lineFound);
    EXPECT_TRUE(identity.accepted);
    EXPECT_EQ(identity.version, "Unknown");
    EXPECT_FALSE(identity.versionSupported);
    EXPECT_EQ(identity.productTitle, "");
}

TEST(SupportedVersions, AreSubstringsOfTheList) {
    const std::pair<const char*, bool> cases[] = {
        {"3.00", true}, {"3.01", true}, {"3.07", true}, {"4.00", true}, {"3.0", true}, {"00", true},
        {"", true},     {"3.02", false}, {"3.10", false}, {"Unknown", false}, {"3.07 ", true}, {"4.00 ", false}, {"4.001", false},
    };
    for (const auto& [version, supported] : cases) {
        SCOPED_TRACE(version);
        EXPECT_EQ(IsSupportedVersion(version), supported);
    }
}

TEST(SerialNumber, IsTheRestOfTheLineAfterTheMark) {
    const std::pair<const char*, const char*> cases[] = {
        {"QUOR Tessaron CD-ROM Server V4.00 S/N: 1234-5678", " 1234-5678"},
        {"S/N:1234  \t", "1234"},
        {"x S/N:    ", ""},
        {"x S/N:", ""},
        {"no serial here", "Unknown"},
        {"s/n: 42", "Unknown"},
        {"S/N: A S/N: B", " A S/N: B"},
        {"S/N:  lead kept, inner  kept ", "  lead kept, inner  kept"},
    };
    for (const auto& [line, serial] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(SerialNumber(line), serial);
    }
}

struct FileCase {
    const char* name;
    std::string bytes;
    bool accepted;
    bool lineFound;
    const char* version;
};

TEST(IdentifyServer, ReadsTheFirstLineOfTheConfigurationFile) {
    const FileCase cases[] = {
        {"CR LF line end", "Tessaron CD V4.00 S/N: 1\r\n[Server]\r\n", true, true, "4.00"},
        {"no line end", "Tessaron CD V3.06 x", true, true, "3.06"},
        {"empty file", "", true, false, "Unknown"},
        {"starts with a line end", "\r\nTessaron CD V4.00 x\r\n", false, true, ""},
        {"second line not read", "Hello\nTessaron CD V4.00 x\n", false, true, ""},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempShare share;
        share.Write("Config/Config.ini", c.bytes);
        const ServerIdentity identity = IdentifyServer(*share.Files());
        EXPECT_EQ(identity.accepted, c.accepted);
        EXPECT_EQ(identity.lineFound, c.lineFound);
        EXPECT_EQ(identity.version, c.version);
    }
}

TEST(IdentifyServer, FindsTheFileWithoutRegardToCase) {
    TempShare share;
    share.Write("CONFIG/config.INI", "Tessaron CD V4.00 x\n");
    EXPECT_TRUE(IdentifyServer(*share.Files()).accepted);
}

TEST(IdentifyServer, MissingFileRaisesFileException) {
    TempShare share;
    EXPECT_THROW(IdentifyServer(*share.Files()), FileException);
    EXPECT_THROW(IdentifyServer(*OpenFolderShare(share.Root() + "/does-not-exist")), FileException);
}

TEST(IdentifyServer, SampleShareIsASupportedCdRomServer) {
    TempShare share(TempShare::Contents::Sample);
    const ServerIdentity identity = IdentifyServer(*share.Files());
    EXPECT_TRUE(identity.accepted);
    EXPECT_EQ(identity.productTitle, "QUOR Tessaron CD");
    EXPECT_EQ(identity.serverKind, 0);
    EXPECT_EQ(identity.version, "4.00");
    EXPECT_TRUE(identity.versionSupported);
}

}  // namespace
