#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Catalogue.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ServerIdentity.h"
#include "ServerRequests.h"
#include "StoreDump.h"
#include "SubmitPlan.h"
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
        {{"file:///mnt/a%20b"}, "/mnt/a b", false, false},  // as a desktop hands over a folder
        {{"FILE://localhost/srv"}, "/srv", false, false},
        {{"file://other/srv"}, "file://other/srv", false, false},
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
    const struct { std::string bytes; bool accepted; const char* productTitle; int serverKind; const char* version; bool supported; } cases[] = {
        {"QUOR Tessaron CD-ROM Server V4.00 (c) S/N: 1\r\n[S]\r\n", true, "QUOR Tessaron CD", 0, "4.00", true},
        {"Tessaron CD V3.02 x", true, "QUOR Tessaron CD", 0, "3.02", false},
        {"Tessaron HD Server V4.00 x", false, "", 0, "", false},  // Tessaron without CD
        {"JQ HD-Server V3.07 x", true, "QUOR Tessaron HD", 1, "3.07", true},
        {"JQ CD-Server V3.07 x", true, "QUOR Tessaron CD", 0, "3.07", true},  // CD wins over JQ
        {"Made by JQ-7000 Server V3.06 x", true, "JQ 7000", 0, "3.06", true},
        {"Server family JQ", true, "JQ ", 0, "Unknown", false},   // the line ends at JQ
        {"Tessaron CD V00 x", true, "QUOR Tessaron CD", 0, "00", true},   // a part of the list of versions
        {"Tessaron CD V x", true, "QUOR Tessaron CD", 0, "", true},
        {"Tessaron CD V4.00", true, "QUOR Tessaron CD", 0, "Unknown", false},  // no blank after the version
        {"Tessaron CD version 4.00 x", true, "QUOR Tessaron CD", 0, "Unknown", false},
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
        {Kind::FactoryDefaults, "V4.00\r\n[Server]\r\nRestart = no\r\n", false, nullptr},
        {Kind::Restart, "V4.00\r\n[IP]\r\nRestart = no\r\nFactoryDefaults = no\r\n", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + ": " + c.file);
        TempShare share;
        share.Write("Config/Config.ini", c.file);
        ServerRequest request(share.Files(), c.kind);
        EXPECT_EQ(request.CarriesPendingFactoryReset(), c.pending);
        if (!c.written) {
            EXPECT_THROW(request.Changes(), FileException);
            EXPECT_THROW(request.Send(), FileException);
            EXPECT_EQ(share.Read("Config/Config.ini"), c.file);
            continue;
        }
        const ChangeSet changes = request.Changes();
        request.Send();
        EXPECT_EQ(changes.changes.size(), (c.kind == Kind::FactoryDefaults && c.file == both ? 2u : 1u));
        EXPECT_EQ(request.Sent().BytesAfter(), share.Read("Config/Config.ini"));
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

// The change set is what the write makes of the file: each value it
// replaces, as the file held it and as it will hold it; a value typed back,
// or only spelled differently, is no change, and a list counts item by item.
TEST(SubmitPlan, ChangesAreWhatTheWriteMakes) {
    const struct {
        std::vector<Edit> edits;
        std::vector<Change> changes;
    } cases[] = {
        {{{"IP", "NetMask", "255.255.255.0", 0}, {"Server", "HardwareAddress", "00-A0-2B-01-23-45", 0}}, {}},
        {{{"IP", "InternetAddress", " 192.168.1.50 ", 0}, {"NFS", "Export", "/CDROM1;/CDROM2", 0}}, {}},
        {{{"NFS", "Export", "/CDROM2 ; /CDROM1", 0}}, {{"NFS", "Export", "/CDROM1 ; /CDROM2", "/CDROM2 ; /CDROM1"}}},
        {{{"IP", "NetMask", "255.0.0.0", 0}, {"HTTP/FTP", "Password", "new", 0}},
         {{"IP", "NetMask", "255.255.255.0", "255.0.0.0"}, {"HTTP/FTP", "Password", "cdrom4all", "new"}}},
        {{{"Server", "Date", "97-12-24", 1}}, {{"Server", "Date", "97-12-24", "97-12-24!"}}},  // the clock is set
        {{{"Server", "FactoryDefaults", "yes", 0}},
         {{"Server", "FactoryDefaults", "no", "yes"}, {"Server", "Restart", "no", "yes"}}},
        {{{"Server", "Restart", "no", 0}, {"Server", "FactoryDefaults", "yes", 0}},  // as a page takes every row
         {{"Server", "FactoryDefaults", "no", "yes"}, {"Server", "Restart", "no", "yes"}}},
    };
    TempShare share(TempShare::Contents::Sample);
    for (const auto& c : cases) {
        ParameterHandler store;
        store.Load(share.Files(), "\\CONFIG\\config.INI", CatalogueOf(Configuration));
        SubmitPlan plan(store);
        TakeEdits(plan, store, c.edits);
        const ChangeSet before = plan.Changes();
        EXPECT_EQ(before, (ChangeSet{"Config/Config.ini", c.changes})) << c.edits.front().key;
        if (c.changes.empty()) continue;
        const std::string original = share.Read("Config/Config.ini");
        plan.Write();
        EXPECT_EQ(plan.Changes(), before);  // the same once written
        EXPECT_EQ(plan.BytesBefore(), original);
        EXPECT_EQ(plan.BytesAfter(), share.Read("Config/Config.ini"));
        share.Write("Config/Config.ini", original);
    }
    ParameterHandler store;
    store.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    SubmitPlan plan(store);
    Parameter missing("Nowhere", "1", "", 0);
    EXPECT_THROW(plan.Take("IP", missing, ""), ParameterNotFound);
    EXPECT_THROW(plan.Take("Nowhere", missing, ""), ParameterHandler::ParameterError);
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

// A form's settings go in as they stand, changed or not: no write mark, no
// question, and a reset the file already asks for gets no restart added. The
// server kept them only when it holds exactly the text sent (a missing key
// counts as empty); a setting not verified always counts as kept.
TEST(SubmitPlan, SettingsAreWrittenAsTheyStandAndConfirmedExactly) {
    TempShare share;
    std::string file = kFile;
    share.Write("Config/Config.ini", file.replace(file.find("= no"), 4, "= yes"));
    ParameterHandler store;
    store.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    SubmitPlan plan(store);
    plan.Set("Server", "Date", "99-02-02", true);
    plan.Set("NetWare", "ServerName", "FS2", true);
    plan.Set("NetWare", "NDSAdminPassword", "SECRET", false);
    plan.Set("NetWare", "Gone", "", true);
    EXPECT_EQ(plan.Questions(), std::vector<int>{});
    EXPECT_FALSE(plan.AsksRestart());
    plan.Write();
    ParameterHandler back;
    back.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    for (const char* held : {"Date=99-02-02|", "FactoryDefaults=yes|", "Restart=no|", "NDSAdminPassword=SECRET|"}) {
        EXPECT_NE(Dump(back).find(held), std::string::npos) << held << "\n" << Dump(back);
    }
    // Unlike a page's date, a form's setting is always verified.
    const std::pair<const char*, bool> cases[] = {
        {"[Server]\nDate = 99-02-02\n[NetWare]\nServerName = FS2\nNDSAdminPassword = x\n", true},
        {"[Server]\nDate = 99-09-09\n[NetWare]\nServerName = FS2\n", false},
        {"[Server]\nDate = 99-02-02\n[NetWare]\n", false},
    };
    for (const auto& [readBack, confirmed] : cases) {
        EXPECT_EQ(plan.ConfirmedBy(FromText(readBack)), confirmed) << readBack;
    }
}

}  // namespace
