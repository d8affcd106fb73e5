#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Catalogue.h"
#include "ParameterHandler.h"
#include "SubmitPlan.h"
#include "TempShare.h"

namespace {

const std::string kFile =
    "[Server]\r\nDate = 99-01-01\r\nFactoryDefaults = no\r\nRestart = no\r\n"
    "[NetWare]\r\nNDSAdminPassword = PW\r\nServerName = FS1\r\n[END]\r\n";

struct Edit {
    const char* section;
    const char* key;
    const char* value;
    int checkState;
};

// What a submit of edits to kFile (with Server/FactoryDefaults preset to
// `pending`) asks, writes and reports.
TEST(SubmitPlan, TakesChangesMarksAndAsksAsThePagesDo) {
    struct Case {
        const char* name;
        const char* pending;
        std::vector<Edit> edits;
        bool changes;
        std::vector<int> questions;
        std::vector<std::string> written;  // section/key=value read back
    } cases[] = {
        {"unchanged", "no", {{"NetWare", "ServerName", "FS1", 0}}, false, {}, {"NetWare/ServerName=FS1"}},
        {"a change", "no", {{"NetWare", "ServerName", "FS2", 0}}, true, {}, {"NetWare/ServerName=FS2"}},
        {"unticked date is no change", "no", {{"Server", "Date", "99-02-02", 0}}, false, {}, {"Server/Date=99-01-01"}},
        {"ticked date with its mark", "no", {{"Server", "Date", "99-02-02", 1}}, true, {}, {"Server/Date=99-02-02!"}},
        {"restart asks 128", "no", {{"Server", "Restart", "yes", 0}}, true, {128}, {"Server/Restart=yes"}},
        {"factory defaults ask 129 and bring a restart", "no", {{"Server", "FactoryDefaults", "yes", 0}}, true,
         {129}, {"Server/Restart=yes", "Server/FactoryDefaults=yes"}},
        {"a reset in the file is asked first", "yes",
         {{"NetWare", "ServerName", "FS2", 0}, {"Server", "Restart", "yes", 0}}, true, {129, 128},
         {"Server/Restart=yes", "NetWare/ServerName=FS2"}},
        {"a reset kept on its own row is asked once", "yes", {{"Server", "FactoryDefaults", "yes", 0}}, false,
         {129}, {"Server/Restart=yes"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempShare share;
        std::string file = kFile;
        file.replace(file.find("FactoryDefaults = no"), 20, std::string("FactoryDefaults = ") + c.pending);
        share.Write("Config/Config.ini", file);
        ParameterHandler store;
        store.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
        const ParameterHandler loaded = store;
        SubmitPlan plan(store);
        for (const Edit& e : c.edits) {
            const ParameterSection section = loaded.GetSection(e.section);
            Parameter edited = section.GetParameter(e.key);
            edited.SetValue(e.value);
            edited.SetCheckState(e.checkState);
            plan.Take(e.section, edited, section.GetParameter(e.key).GetValue());
        }
        EXPECT_EQ(plan.HasChanges(), c.changes);
        EXPECT_EQ(plan.Questions(), c.questions);
        EXPECT_EQ(plan.AsksRestart(), !c.questions.empty());
        plan.Write();
        ParameterHandler back;
        back.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
        for (const std::string& expected : c.written) {
            const size_t slash = expected.find('/'), equals = expected.find('=');
            std::string value;
            EXPECT_TRUE(back.GetValue(expected.substr(0, slash), expected.substr(slash + 1, equals - slash - 1), value));
            EXPECT_EQ(value, expected.substr(equals + 1)) << expected;
        }
    }
}

// The server kept the submitted values when each is read back, except those
// never confirmed (dates, NoCheck); a key it dropped is a value not kept.
TEST(SubmitPlan, ConfirmedByWhatTheServerKept) {
    struct Case {
        const char* name;
        std::string readBack;
        bool confirmed;
    } cases[] = {
        {"as sent", "[Server]\nDate = 1\n[NetWare]\nServerName = FS2\nNDSAdminPassword = x\n", true},
        {"refused", "[Server]\nDate = 1\n[NetWare]\nServerName = FS1\nNDSAdminPassword = x\n", false},
        {"key dropped", "[Server]\nDate = 1\n[NetWare]\nNDSAdminPassword = x\n", false},
        {"section dropped", "[NetWare]\nServerName = FS2\nNDSAdminPassword = x\n", false},
    };
    TempShare share;
    share.Write("Config/Config.ini", kFile);
    ParameterHandler store;
    store.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    const ParameterHandler loaded = store;
    SubmitPlan plan(store);
    for (const char* key : {"ServerName", "NDSAdminPassword"}) {
        Parameter edited = loaded.GetSection("NetWare").GetParameter(key);
        edited.SetValue(std::string(key) == "ServerName" ? "FS2" : "SECRET");
        plan.Take("NetWare", edited, loaded.GetSection("NetWare").GetParameter(key).GetValue());
    }
    Parameter date = loaded.GetSection("Server").GetParameter("Date");
    date.SetValue("99-02-02");
    date.SetCheckState(1);
    plan.Take("Server", date, "99-01-01");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterHandler back;
        back.ReadText(c.readBack);
        CatalogueOf(Configuration).Apply(back);
        EXPECT_EQ(plan.ConfirmedBy(back), c.confirmed);
    }
}

}  // namespace
