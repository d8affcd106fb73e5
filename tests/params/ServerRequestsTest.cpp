#include <gtest/gtest.h>

#include <string>

#include "Catalogue.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ServerRequests.h"
#include "TempShare.h"

namespace {

const std::string kBoth = "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = no ; yes/no\r\nRestart = no\r\n[END]\r\n";
const std::string kPending = "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = yes\r\nRestart = no\r\n[END]\r\n";
const std::string kNoRestart = "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = no\r\n[END]\r\n";
const std::string kNoFactory = "Tessaron CD V4.00\r\n[Server]\r\nRestart = no\r\n[END]\r\n";
const std::string kNoServer = "Tessaron CD V4.00\r\n[IP]\r\nRestart = no\r\nFactoryDefaults = no\r\n[END]\r\n";

std::string valueOf(const TempShare& share, const char* key) {
    ParameterHandler handler;
    handler.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    std::string value;
    EXPECT_TRUE(handler.GetValue("Server", key, value));
    return value;
}

TEST(ServerRequests, SetTheRequestOrWriteNothing) {
    using Kind = ServerRequest::Kind;
    struct Case {
        const char* name;
        Kind kind;
        std::string file;
        bool pending;                 // a factory reset the restart would carry out
        bool succeeds;
        const char* restart;          // read back, when it succeeds
        const char* factoryDefaults;  // read back, when it succeeds
    } cases[] = {
        {"restart", Kind::Restart, kBoth, false, true, "yes", "no"},
        {"factory defaults", Kind::FactoryDefaults, kBoth, false, true, "yes", "yes"},
        {"restart over a pending factory reset", Kind::Restart, kPending, true, true, "yes", "yes"},
        {"factory defaults over a pending one", Kind::FactoryDefaults, kPending, false, true, "yes", "yes"},
        {"restart without Restart key", Kind::Restart, kNoRestart, false, false, "", ""},
        {"factory defaults without Restart key", Kind::FactoryDefaults, kNoRestart, false, false, "", ""},
        {"factory defaults without FactoryDefaults key", Kind::FactoryDefaults, kNoFactory, false, false, "", ""},
        {"restart with the key in another section", Kind::Restart, kNoServer, false, false, "", ""},
        {"restart on an empty file", Kind::Restart, "", false, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempShare share;
        share.Write("Config/Config.ini", c.file);
        ServerRequest request(share.Files(), c.kind);
        EXPECT_EQ(request.CarriesPendingFactoryReset(), c.pending);
        if (!c.succeeds) {
            EXPECT_THROW(request.Send(), FileException);
            EXPECT_EQ(share.Read("Config/Config.ini"), c.file);
            continue;
        }
        request.Send();
        EXPECT_EQ(valueOf(share, "Restart"), c.restart);
        EXPECT_EQ(valueOf(share, "FactoryDefaults"), c.factoryDefaults);
    }
}

TEST(ServerRequests, MissingConfigurationFileRaisesFileExceptionWithItsPath) {
    TempShare share;
    try {
        ServerRequest request(share.Files(), ServerRequest::Restart);
        FAIL() << "no exception";
    } catch (const FileException& error) {
        EXPECT_NE(error.Path().find("Config.ini"), std::string::npos);
        EXPECT_FALSE(error.Reason().empty());
    }
}

}  // namespace
