#include <nlohmann/json.hpp>
#include <sstream>

#include <gtest/gtest.h>

#include "Catalogue.h"
#include "CtlRun.h"
#include "ParameterHandler.h"
#include "TargetFile.h"
#include "TempShare.h"

namespace {

using Json = nlohmann::json;

std::string valueIn(const TempShare& share, const char* file, const std::string& section, const std::string& key) {
    ParameterHandler handler;
    handler.Load(share.Files(), file, CatalogueOf(KindOfPath(file)));
    std::string value;
    handler.GetValue(section, key, value);
    return value;
}

CtlResult applyDocument(const TempShare& share, const std::string& document, std::vector<std::string> options = {}) {
    std::vector<std::string> args{"apply", share.Root(), "-", "--json"};
    args.insert(args.end(), options.begin(), options.end());
    return RunCtl(args, LocaleText(), document);
}

// A document is refused as a whole, nothing written, with the JSON path of
// its first offending part.
TEST(CtlApply, ADocumentIsRefusedByItsFirstOffendingPart) {
    const struct {
        const char* document;
        const char* where;
        int code = 1;
    } cases[] = {
        {R"({"config": )", "$"},
        {R"(["config"])", "$"},
        {R"({"config": {"IP": {"NetMask": "255.0.0.0"}}, "Config/CONFIG.INI": {}})", R"($["Config/CONFIG.INI"])"},
        {R"({"nothing.ini": {"IP": {}}})", R"($["nothing.ini"])"},
        {R"({"config": {"DNS": {"Server": "1.2.3.4"}}})", "$.config.DNS"},
        {R"({"config": {"IP": {"Gateway": "1.2.3.4"}}})", "$.config.IP.Gateway"},
        {R"({"config": {"IP": {"NetMask": 255}}})", "$.config.IP.NetMask"},
        {R"({"config": {"NFS": {"Export": ["/CDROM1", 2]}}})", "$.config.NFS.Export[1]"},
        {R"({"config": {"IP": {"DefaultRouter": "10.0.0.1"}, "SNMP": {"TrapDestination": "1.2.3"}}})",
         "$.config.SNMP.TrapDestination"},
        {R"({"config": {"Server": {"Time": "12:00:00"}}})", "$.config.Server.Time"},
        {R"({"config": {"Server": {"Restart": "yes"}}})", "$.config.Server.Restart"},
        {R"({"Config/Stat.txt": {}})", R"($["Config/Stat.txt"])"},
        {R"({"config": {"IP": {"NetMask": "255.0.0.0"}}, "config": {}})", "$"},
    };
    TempShare share(TempShare::Contents::Sample);
    const std::string before = share.Read("Config/Config.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        const CtlResult result = applyDocument(share, c.document);
        EXPECT_EQ(result.code, c.code);
        const Json report = Json::parse(result.out);
        EXPECT_FALSE(report["changed"]);
        EXPECT_EQ(result.err.rfind(std::string(c.where) + ": ", 0), 0u) << result.err;
        for (const Json& file : report["files"]) EXPECT_NE(file["result"], "written");
    }
    EXPECT_EQ(share.Read("Config/Config.ini"), before);
}

// The wanted state written once, in the document's order; the same document
// again changes nothing. A dry run says what would change and writes nothing.
TEST(CtlApply, TheWantedStateIsWrittenOnceAndThenNothingChanges) {
    TempShare share(TempShare::Contents::Sample);
    const std::string document = R"({
        "config": {"IP": {"NetMask": "255.255.0.0"}, "NFS": {"Export": ["/CDROM1", "/CDROM3"]},
                   "HTTP/FTP": {"Password": "cdrom4all"}},
        "Volumes/CDROM1/GUEST.USR": {"": {"Alias": "Gast"}},
        "scsi": {"ID2_LUN0": {"SCSIAlias": "DISC_A"}}})";
    const std::string before = share.Read("Config/Config.ini");
    const CtlResult trial = applyDocument(share, document, {"--dry-run"});
    EXPECT_EQ(trial.code, 0);
    EXPECT_EQ(share.Read("Config/Config.ini"), before);
    const Json planned = Json::parse(trial.out);
    EXPECT_TRUE(planned["changed"]);
    EXPECT_EQ(planned["files"][0]["result"], "would change");
    // The password equals the stored one: no change; the list counts item by item.
    EXPECT_EQ(planned["files"][0]["changes"], Json::parse(R"([
        {"section": "IP", "key": "NetMask", "old": "255.255.255.0", "new": "255.255.0.0"},
        {"section": "NFS", "key": "Export", "old": "/CDROM1 ; /CDROM2", "new": "/CDROM1 ; /CDROM3"}])"));

    const CtlResult real = applyDocument(share, document);
    EXPECT_EQ(real.code, 0) << real.err;
    const Json written = Json::parse(real.out);
    EXPECT_EQ(written["files"][0]["changes"], planned["files"][0]["changes"]);
    std::vector<std::string> results;
    for (const Json& file : written["files"]) results.push_back(file["file"].get<std::string>() + " " + file["result"].get<std::string>());
    EXPECT_EQ(results, (std::vector<std::string>{"Config/Config.ini written", "Volumes/CDROM1/GUEST.USR written",
                                                 "Config/scsi.ini written"}));
    EXPECT_EQ(valueIn(share, "Volumes/CDROM1/GUEST.USR", "", "Alias"), "Gast");
    EXPECT_EQ(valueIn(share, "Config/Config.ini", "NFS", "Export"), "/CDROM1 ; /CDROM3");

    const CtlResult again = RunCtl({"apply", share.Root(), "-"}, LocaleText(), document);
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(again.err, Said({124}));
}

// A file the server did not keep stops the run: the files after it are not
// written, and the report says which were.
TEST(CtlApply, AFileNotKeptStopsTheFilesAfterIt) {
    TempShare share(TempShare::Contents::Sample);
    std::ostringstream out, err;
    std::istringstream in(R"({"Volumes/CDROM1/GUEST.USR": {"": {"Alias": "Gast"}},
                              "config": {"IP": {"NetMask": "255.255.0.0"}},
                              "scsi": {"ID2_LUN0": {"SCSIAlias": "DISC_A"}}})");
    const std::string drive = valueIn(share, "Config/scsi.ini", "ID2_LUN0", "SCSIAlias");
    Console console{out, err};
    console.in = &in;
    console.beforeWrite = [](const std::string& path) {
        if (path.find("Config.ini") == std::string::npos) return;
        ParameterHandler other;  // another program changes the file meanwhile
        other.Load(OpenLocalFiles(), path, CatalogueOf(Configuration));
        other.SetValue("IP", "DefaultRouter", "10.0.0.1");
        other.Write();
    };
    EXPECT_EQ(RunTessaronCtl({"apply", share.Root(), "-", "--json"}, console), ExitNotTaken);
    const Json report = Json::parse(out.str());
    EXPECT_TRUE(report["changed"]);
    EXPECT_EQ(report["files"][0]["result"], "written");
    EXPECT_EQ(report["files"][1]["result"], "not kept");
    EXPECT_NE(report["files"][1]["message"].get<std::string>().find("changed by another program"), std::string::npos);
    EXPECT_EQ(report["files"][2]["result"], "not reached");
    EXPECT_EQ(valueIn(share, "Config/scsi.ini", "ID2_LUN0", "SCSIAlias"), drive);
    EXPECT_EQ(valueIn(share, "Volumes/CDROM1/GUEST.USR", "", "Alias"), "Gast");
}

}  // namespace
