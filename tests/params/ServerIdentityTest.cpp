#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileException.h"
#include "ServerIdentity.h"
#include "TempShare.h"

namespace {

TEST(CommandLine, TakesTheFirstArgumentThatIsNotAFlag) {
    const struct { std::vector<std::string> args; std::string serverPath; bool help, version; } cases[] = {
        {{}, "", false, false},
        {{"-x", "\\\\srv\\cd", "extra"}, "\\\\srv\\cd", false, false},
        {{"--verbose", "/mnt/a", "/mnt/b"}, "/mnt/a", false, false},  // a slash begins a path here
        {{"--help", "--version", "/srv"}, "/srv", true, true},
        {{"-", "--", "-help"}, "", false, false},
        {{"", "/srv"}, "", false, false},  // an empty argument is a path
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.serverPath, c.serverPath);
        EXPECT_EQ(line.help, c.help);
        EXPECT_EQ(line.version, c.version);
    }
}

// The configuration file's first line says which product it is and which
// version; a file without any line is accepted with an unknown version.
TEST(IdentifyServer, ReadsTheFirstLineOfTheConfigurationFile) {
    const struct {
        std::string bytes;
        bool accepted;
        const char *productTitle;
        int serverKind;
        const char* version;
        bool supported;
    } cases[] = {
        {"QUOR Tessaron CD-ROM Server V4.00 (c) S/N: 1\r\n[S]\r\n", true, "QUOR Tessaron CD", 0, "4.00", true},
        {"Tessaron CD V3.02 x", true, "QUOR Tessaron CD", 0, "3.02", false},
        {"Tessaron HD Server V4.00 x", false, "", 0, "", false},  // Tessaron without CD
        {"JQ HD-Server V3.07 x", true, "QUOR Tessaron HD", 1, "3.07", true},
        {"JQ CD-Server V3.07 x", true, "QUOR Tessaron CD", 0, "3.07", true},  // CD wins over JQ
        {"Made by JQ-7000 Server V3.06 x", true, "JQ 7000", 0, "3.06", true},
        {"Server family JQ", true, "JQ ", 0, "Unknown", false},   // the line ends at JQ
        {"JQ-", true, "JQ ", 0, "Unknown", false},               // ... or within the skipped character
        {"Tessaron CD V00 x", true, "QUOR Tessaron CD", 0, "00", true},   // a part of the list of versions
        {"Tessaron CD V3.10 x", true, "QUOR Tessaron CD", 0, "3.10", false},
        {"Tessaron CD V4.001 x", true, "QUOR Tessaron CD", 0, "4.001", false},
        {"Tessaron CD V x", true, "QUOR Tessaron CD", 0, "", true},
        {"Tessaron CD V4.00", true, "QUOR Tessaron CD", 0, "Unknown", false},  // no blank after the version
        {"Tessaron CD version 4.00 x", true, "QUOR Tessaron CD", 0, "Unknown", false},
        {"tessaron cd V4.00 x", false, "", 0, "", false},
        {"\r\nTessaron CD V4.00 x\r\n", false, "", 0, "", false},  // only the first line counts
        {"", true, "", 0, "Unknown", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        TempShare share;
        share.Write("CONFIG/config.INI", c.bytes);
        const ServerIdentity identity = IdentifyServer(*share.Files());
        EXPECT_EQ(identity.lineFound, !c.bytes.empty());
        EXPECT_EQ(identity.accepted, c.accepted);
        EXPECT_EQ(identity.productTitle, c.productTitle);
        EXPECT_EQ(identity.serverKind, c.serverKind);
        EXPECT_EQ(identity.version, c.version);
        EXPECT_EQ(identity.versionSupported, c.supported);
    }
    TempShare empty;
    EXPECT_THROW(IdentifyServer(*empty.Files()), FileException);
}

TEST(IdentifyServer, SerialNumberIsTheRestOfTheLineAfterTheMark) {
    const std::pair<const char*, const char*> cases[] = {
        {"QUOR Tessaron CD-ROM Server V4.00 S/N: 1234-5678", " 1234-5678"},
        {"S/N:1234  \t", "1234"}, {"x S/N:    ", ""}, {"x S/N:", ""}, {"no serial here", "Unknown"},
        {"s/n: 42", "Unknown"},   {"S/N: A S/N: B", " A S/N: B"},
    };
    for (const auto& [line, serial] : cases) EXPECT_EQ(SerialNumber(line), serial) << line;
}

}  // namespace
