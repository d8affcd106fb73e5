#include <gtest/gtest.h>

#include "Catalogue.h"
#include "ParameterHandler.h"
#include "StoreDump.h"
#include "SubmitPlan.h"
#include "TempShare.h"

namespace {

const std::string kFile = "[Server]\r\nDate = 99-01-01\r\nFactoryDefaults = no\r\nRestart = no\r\n"
                          "[NetWare]\r\nServerName = FS1\r\nNDSAdminPassword = PW\r\n[END]\r\n";

struct Edit { const char *section, *key, *value; int checkState; };

// Takes edits of the loaded file into the plan, as a page or "set" does.
void TakeEdits(SubmitPlan& plan, const ParameterHandler& loaded, const std::vector<Edit>& edits) {
    for (const Edit& e : edits) {
        Parameter edited = loaded.GetSection(e.section).GetParameter(e.key);
        edited.SetValue(e.value);
        edited.SetCheckState(e.checkState);
        plan.Take(e.section, edited, loaded.GetSection(e.section).GetParameter(e.key).GetValue());
    }
}

// What a submit of edits (to kFile with FactoryDefaults preset to `pending`)
// asks, and writes: changed values only, write marks, and a restart with a
// factory reset; a reset the file already asks for is asked first.
TEST(SubmitPlan, TakesChangesMarksAndAsksAsThePagesDo) {
    const struct { const char* pending; std::vector<Edit> edits; bool changes; std::vector<int> questions; std::string server, netware; } cases[] = {
        {"no", {{"NetWare", "ServerName", "FS1", 0}, {"Server", "Date", "99-02-02", 0}}, false, {}, "Date=99-01-01", "ServerName=FS1"},
        {"no", {{"NetWare", "ServerName", "FS2", 0}, {"Server", "Date", "99-02-02", 1}}, true, {}, "Date=99-02-02!", "ServerName=FS2"},
        {"no", {{"Server", "Restart", "yes", 0}}, true, {128}, "Restart=yes", ""},
        {"no", {{"Server", "FactoryDefaults", "yes", 0}}, true, {129}, "FactoryDefaults=yes||0\nRestart=yes", ""},
        {"yes", {{"NetWare", "ServerName", "FS2", 0}, {"Server", "Restart", "yes", 0}}, true, {129, 128}, "Restart=yes", "ServerName=FS2"},
        {"yes", {{"Server", "FactoryDefaults", "yes", 0}}, false, {129}, "Restart=yes", ""},  // asked once
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.questions) + c.server);
        TempShare share;
        std::string file = kFile;
        share.Write("Config/Config.ini", file.replace(file.find("= no"), 4, std::string("= ") + c.pending));
        ParameterHandler store;
        store.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
        const ParameterHandler loaded = store;
        SubmitPlan plan(store);
        TakeEdits(plan, loaded, c.edits);
        EXPECT_EQ(plan.HasChanges(), c.changes);
        EXPECT_EQ(plan.Questions(), c.questions);
        EXPECT_EQ(plan.AsksRestart(), !c.questions.empty());
        EXPECT_EQ(plan.CarriesPendingFactoryReset(), std::string(c.pending) == "yes" && c.edits.size() > 1);
        plan.Write();
        ParameterHandler back;
        back.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
        EXPECT_NE(Dump(back).find(c.server + "|"), std::string::npos) << Dump(back);
        EXPECT_NE(Dump(back).find(c.netware), std::string::npos) << Dump(back);
    }
}

// The server kept the submitted values when each is read back, except those
// never confirmed (dates, NoCheck); a key it dropped is a value not kept.
TEST(SubmitPlan, ConfirmedByWhatTheServerKept) {
    const std::pair<const char*, bool> cases[] = {
        {"[Server]\nDate = 1\n[NetWare]\nServerName = FS2\nNDSAdminPassword = x\n", true},
        {"[Server]\nDate = 1\n[NetWare]\nServerName = FS1\nNDSAdminPassword = x\n", false},
        {"[Server]\nDate = 1\n[NetWare]\nNDSAdminPassword = x\n", false},
        {"[NetWare]\nServerName = FS2\nNDSAdminPassword = x\n", false},
    };
    TempShare share;
    share.Write("Config/Config.ini", kFile);
    ParameterHandler store;
    store.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    const ParameterHandler loaded = store;
    SubmitPlan plan(store);
    TakeEdits(plan, loaded, {{"NetWare", "ServerName", "FS2", 0}, {"NetWare", "NDSAdminPassword", "SECRET", 0},
                             {"Server", "Date", "99-02-02", 1}});
    for (const auto& [readBack, confirmed] : cases) {
        ParameterHandler back = FromText(readBack);
        CatalogueOf(Configuration).Apply(back);
        EXPECT_EQ(plan.ConfirmedBy(back), confirmed) << readBack;
    }
    EXPECT_EQ(SubmitPlan::SuccessMessage(Configuration), 125);
    EXPECT_EQ(SubmitPlan::SuccessMessage(VolumeRights), 136);
}

}  // namespace
