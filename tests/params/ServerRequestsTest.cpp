#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FileException.h"
#include "ParameterHandler.h"
#include "ServerRequests.h"
#include "TempShare.h"

namespace {

struct RequestCase {
    const char* name;
    std::function<void(const std::string&)> request;
    std::string file;
    bool succeeds;
    const char* restart;          // value read back, when it succeeds
    const char* factoryDefaults;  // value read back, when it succeeds
};

const std::string kBoth = "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = no ; yes/no\r\nRestart = no\r\n[END]\r\n";
const std::string kNoRestart = "Tessaron CD V4.00\r\n[Server]\r\nFactoryDefaults = no\r\n[END]\r\n";
const std::string kNoFactory = "Tessaron CD V4.00\r\n[Server]\r\nRestart = no\r\n[END]\r\n";
const std::string kNoServer = "Tessaron CD V4.00\r\n[IP]\r\nRestart = no\r\nFactoryDefaults = no\r\n[END]\r\n";

TEST(ServerRequests, SetTheRequestOrWriteNothing) {
    const RequestCase cases[] = {
        {"restart", RequestRestart, kBoth, true, "yes", "no"},
        {"factory defaults", RequestFactoryDefaults, kBoth, true, "yes", "yes"},
        {"restart without Restart key", RequestRestart, kNoRestart, false, "", ""},
        {"factory defaults without Restart key", RequestFactoryDefaults, kNoRestart, false, "", ""},
        {"factory defaults without FactoryDefaults key", RequestFactoryDefaults, kNoFactory, false, "", ""},
        {"restart with the key in another section", RequestRestart, kNoServer, false, "", ""},
        {"restart on an empty file", RequestRestart, "", false, "", ""},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempShare share;
        share.Write("Config/Config.ini", c.file);
        if (!c.succeeds) {
            EXPECT_THROW(c.request(share.Root()), FileException);
            EXPECT_EQ(share.Read("Config/Config.ini"), c.file);
            continue;
        }
        c.request(share.Root());
        ParameterHandler handler;
        handler.Load(share.PathOf("Config/Config.ini"), Configuration);
        std::string value;
        EXPECT_TRUE(handler.GetValue("Server", "Restart", value));
        EXPECT_EQ(value, c.restart);
        EXPECT_TRUE(handler.GetValue("Server", "FactoryDefaults", value));
        EXPECT_EQ(value, c.factoryDefaults);
    }
}

TEST(ServerRequests, MissingConfigurationFileRaisesFileException) {
    TempShare share;
    EXPECT_THROW(RequestRestart(share.Root()), FileException);
    EXPECT_THROW(RequestFactoryDefaults(share.Root()), FileException);
}

TEST(ServerRequests, KeepTheRestOfTheSampleFile) {
    TempShare share(TempShare::Contents::Sample);
    ParameterHandler before;
    before.Load(share.PathOf("Config/Config.ini"), Configuration);
    RequestRestart(share.Root());
    ParameterHandler after;
    after.Load(share.PathOf("Config/Config.ini"), Configuration);
    ASSERT_EQ(after.GetSectionCount(), before.GetSectionCount());
    for (int s = 0; s < before.GetSectionCount(); ++s) {
        const ParameterSection& a = before.SectionAt(s);
        const ParameterSection& b = after.SectionAt(s);
        ASSERT_EQ(a.GetParameterCount(), b.GetParameterCount()) << a.GetName();
        for (int p = 0; p < a.GetParameterCount(); ++p) {
            const bool isRestart = a.GetName() == "Server" && a.ParameterAt(p).GetKey() == "Restart";
            EXPECT_EQ(b.ParameterAt(p).GetValue(), isRestart ? "yes" : a.ParameterAt(p).GetValue())
                << a.GetName() << "/" << a.ParameterAt(p).GetKey();
        }
    }
}

}  // namespace
