#include <gtest/gtest.h>

#include "Catalogue.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ServerRequests.h"
#include "StoreDump.h"
#include "TempShare.h"

namespace {

// A request sets Restart (and FactoryDefaults) to yes in the configuration
// file, or writes nothing when a key is missing; a restart over a file that
// already asks for the factory settings carries out that reset.
TEST(ServerRequests, SetTheRequestOrWriteNothing) {
    using Kind = ServerRequest::Kind;
    const std::string both = "V4.00\r\n[Server]\r\nFactoryDefaults = no ; yes/no\r\nRestart = no\r\n[END]\r\n";
    const std::string pending = "V4.00\r\n[Server]\r\nFactoryDefaults = yes\r\nRestart = no\r\n[END]\r\n";
    const struct { Kind kind; std::string file; bool pending; const char* written; } cases[] = {
        {Kind::Restart, both, false, "FactoryDefaults=no||0\nRestart=yes||0\n"},
        {Kind::FactoryDefaults, both, false, "FactoryDefaults=yes||0\nRestart=yes||0\n"},
        {Kind::Restart, pending, true, "FactoryDefaults=yes||0\nRestart=yes||0\n"},
        {Kind::FactoryDefaults, pending, false, "FactoryDefaults=yes||0\nRestart=yes||0\n"},
        {Kind::Restart, "V4.00\r\n[Server]\r\nFactoryDefaults = no\r\n", false, nullptr},
        {Kind::FactoryDefaults, "V4.00\r\n[Server]\r\nFactoryDefaults = no\r\n", false, nullptr},
        {Kind::FactoryDefaults, "V4.00\r\n[Server]\r\nRestart = no\r\n", false, nullptr},
        {Kind::Restart, "V4.00\r\n[IP]\r\nRestart = no\r\nFactoryDefaults = no\r\n", false, nullptr},
        {Kind::Restart, "", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + ": " + c.file);
        TempShare share;
        share.Write("Config/Config.ini", c.file);
        ServerRequest request(share.Files(), c.kind);
        EXPECT_EQ(request.CarriesPendingFactoryReset(), c.pending);
        if (!c.written) {
            EXPECT_THROW(request.Send(), FileException);
            EXPECT_EQ(share.Read("Config/Config.ini"), c.file);
            continue;
        }
        request.Send();
        ParameterHandler back;
        back.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
        EXPECT_NE(Dump(back).find(std::string("[Server]\n") + c.written), std::string::npos) << Dump(back);
    }
    TempShare missing;
    try {
        ServerRequest request(missing.Files(), ServerRequest::Restart);
        FAIL() << "no exception";
    } catch (const FileException& error) {
        EXPECT_NE(error.Path().find("Config.ini"), std::string::npos);
    }
}

}  // namespace
