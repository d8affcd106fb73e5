#include "Catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "ParameterHandler.h"
#include "TempShare.h"
#include "TypeSpec.h"

namespace {

ParameterHandler Read(const std::string& text) {
    ParameterHandler handler;
    handler.ReadText(text);
    return handler;
}

const Parameter* Find(const ParameterHandler& handler, const std::string& section, const std::string& key) {
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& candidate = handler.SectionAt(s);
        if (candidate.GetName() != section) continue;
        const int index = candidate.IndexOf(key);
        return index < 0 ? nullptr : &candidate.ParameterAt(index);
    }
    return nullptr;
}

std::vector<std::string> Keys(const ParameterSection& section) {
    std::vector<std::string> keys;
    for (int i = 0; i < section.GetParameterCount(); ++i) keys.push_back(section.ParameterAt(i).GetKey());
    return keys;
}

// A Config.ini holding every key the catalogue knows, plus keys it does not.
std::string FullConfiguration() {
    std::string text = "QUOR Tessaron\n";
    std::string section;
    for (const CatalogueRow& row : ConfigurationCatalogueRows()) {
        if (row.section != section) {
            section = row.section;
            text += "[" + section + "]\nNewerKey = 1\n";
        }
        if (row.key) text += std::string(row.key) + " = x\n";
    }
    return text + "[Extra]\nHardwareAddress = 1\n";
}

TEST(ConfigurationCatalogue, RowCountsAndUniqueness) {
    int sectionRows = 0;
    std::set<std::pair<std::string, std::string>> keys;
    std::string currentSection;
    int currentTitle = 0;
    for (const CatalogueRow& row : ConfigurationCatalogueRows()) {
        SCOPED_TRACE(std::string(row.section) + " / " + (row.key ? row.key : "(title)"));
        if (row.key == nullptr) {
            ++sectionRows;
            EXPECT_EQ(row.typeSpec, nullptr);
            currentSection = row.section;
            currentTitle = row.id;
            continue;
        }
        // Each section's title row stands before its parameters, and name IDs
        // run on from the section's title ID.
        EXPECT_EQ(row.section, currentSection);
        EXPECT_GT(row.id, currentTitle);
        EXPECT_LT(row.id, currentTitle + 100);
        ASSERT_NE(row.typeSpec, nullptr);
        EXPECT_TRUE(keys.emplace(row.section, row.key).second) << "named twice";
    }
    EXPECT_EQ(sectionRows, 8);
    EXPECT_EQ(keys.size(), 57u);
}

TEST(ConfigurationCatalogue, AnnotatesEveryKnownParameterAndNothingElse) {
    ParameterHandler handler = Read(FullConfiguration());
    CatalogueOf(Configuration).Apply(handler);
    int annotated = 0;
    int titled = 0;
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& section = handler.SectionAt(s);
        if (section.GetTitleId() != 0) ++titled;
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            const Parameter& parameter = section.ParameterAt(p);
            SCOPED_TRACE(section.GetName() + " / " + parameter.GetKey());
            if (parameter.GetKey() == "NewerKey" || section.GetName() == "Extra" || section.GetName().empty()) {
                EXPECT_EQ(parameter.GetNameId(), 0);
                EXPECT_EQ(parameter.GetTypeSpec(), "");
            } else {
                EXPECT_NE(parameter.GetNameId(), 0);
                EXPECT_NE(parameter.GetTypeSpec(), "");
                ++annotated;
            }
        }
    }
    EXPECT_EQ(annotated, 57);
    EXPECT_EQ(titled, 8);
}

TEST(ConfigurationCatalogue, SpotChecks) {
    struct Case {
        std::string section, key;
        int nameId;
        std::string typeSpec;
    };
    const Case cases[] = {
        {"Server", "HardwareAddress", 10101, "{Type Stat}"},
        {"Server", "Date", 10105, "{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}"},
        {"Server", "Time", 10106, "{Type EditCheck} {DDV Time} {Write!} {NoValidSubmit}"},
        {"Server", "FactoryDefaults", 10102, "{Type Combo} {FactoryDefault} {NoValidSubmit}"},
        {"Server", "Restart", 10103, "{Type Combo} {Restart} {NoValidSubmit}"},
        {"Server", "TimeZone", 10108, TimeZoneTypeString},
        {"SCSI", "SCSITermination1", 10203, "{Type Combo}"},
        {"SCSI", "JukeBoxLockTime", 10202, "{Type Edit} {DDV Int 0 65535}"},
        {"IP", "InternetAddress", 10301, "{Type Edit} {DDV IP}"},
        {"SMB", "Domain/GroupName", 10403, "{Type Edit} {DDV Text 15} {UpperCase}"},
        {"SMB", "ServerName", 10404, "{Type Edit} {DDV Text 15} {UpperCase}"},
        {"NFS", "DefaultUid", 10502, "{Type Edit} {DDV Int -2147483648 2147483647}"},
        {"HTTP/FTP", "Password", 10601, "{Type Edit} {DDV NoWhite 16}"},
        {"SNMP", "TrapCommunityName", 10708, "{Type Edit} {DDV NoWhite 16}"},
        {"NetWare", "Frame_802.2", 10802, "{Type Combo}"},
        {"NetWare", "ServerName", 10806, "{Type Edit} {DDV Name 47} {UpperCase}"},
        {"NetWare", "InternalNetAddress", 10807, "{Type Edit} {DDV NetWareAddress}"},
        {"NetWare", "SupervisorPassword", 10809, "{Type Edit} {DDV Text 47} {UpperCase}"},
        {"NetWare", "NDSAdminPassword", 10817, "{Type NoCheck} {DDV Name 47} {UpperCase}"},
        {"NetWare", "TimeSyncSources", 10819, "{Type Combo SAP/SERVER_LIST}"},
    };
    ParameterHandler handler = Read(FullConfiguration());
    CatalogueOf(Configuration).Apply(handler);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section + " / " + c.key);
        const Parameter* parameter = Find(handler, c.section, c.key);
        ASSERT_NE(parameter, nullptr);
        EXPECT_EQ(parameter->GetNameId(), c.nameId);
        EXPECT_EQ(parameter->GetTypeSpec(), c.typeSpec);
    }
    const std::map<std::string, int> titles = {{"Server", 10100}, {"SCSI", 10200}, {"IP", 10300},
                                               {"SMB", 10400},    {"NFS", 10500},  {"HTTP/FTP", 10600},
                                               {"SNMP", 10700},   {"NetWare", 10800}};
    for (const auto& [name, titleId] : titles) {
        SCOPED_TRACE(name);
        EXPECT_EQ(handler.FindSection(name).GetTitleId(), titleId);
    }
}

TEST(ConfigurationCatalogue, TimeZoneChoices) {
    const std::string spec = TimeZoneTypeString;
    EXPECT_EQ(spec.size(), 857u);
    ASSERT_EQ(spec.rfind("{Type Combo ", 0), 0u);
    const ChoiceList list = FillChoiceList("", "UTC", spec, ChoiceListVariant::ConfigurationPage);
    ASSERT_EQ(list.entries.size(), 69u);
    EXPECT_EQ(list.entries.front(), "UTC");
    EXPECT_EQ(list.entries[1], "UTC+1_(No_DST)");
    EXPECT_EQ(list.entries[25], "GB_Eire");
    EXPECT_EQ(list.entries.back(), "Syria");
    const std::set<std::string> distinct(list.entries.begin(), list.entries.end());
    EXPECT_EQ(distinct.size(), 69u);
}

TEST(ConfigurationCatalogue, OnlyAnnotatesWhatTheFileHolds) {
    ParameterHandler handler = Read("[IP]\nInternetAddress = 010.001.001.001\nFutureKey = a/b\n[Server]\nRestart = no\n");
    CatalogueOf(Configuration).Apply(handler);
    ASSERT_EQ(handler.GetSectionCount(), 2);  // no NetWare or other section appears
    const ParameterSection& ip = handler.SectionAt(0);
    EXPECT_EQ(Keys(ip), (std::vector<std::string>{"InternetAddress", "FutureKey"}));
    EXPECT_EQ(ip.ParameterAt(1).GetNameId(), 0);
    EXPECT_EQ(ip.ParameterAt(1).GetTypeSpec(), "");
    EXPECT_EQ(ip.ParameterAt(1).GetType(), "Unknown");
    // Annotating does not rewrite values already read.
    EXPECT_EQ(ip.ParameterAt(0).GetValue(), "010.001.001.001");
}

TEST(VolumeRightsCatalogue, EmptyFileGetsTheFiveListKeysWithoutTitle) {
    ParameterHandler handler = Read("");
    CatalogueOf(VolumeRights).Apply(handler);
    ASSERT_EQ(handler.GetSectionCount(), 1);
    const ParameterSection& section = handler.SectionAt(0);
    EXPECT_EQ(section.GetName(), "");
    EXPECT_EQ(section.GetTitleId(), 0);
    EXPECT_EQ(Keys(section), (std::vector<std::string>{"SMBPassword", "NetWareUser/Group", "NFSIPAddress",
                                                       "NFSGroup", "NFSUser"}));
    const int nameIds[] = {20204, 20205, 20206, 20207, 20208};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(section.ParameterAt(i).GetValue(), "");
        EXPECT_EQ(section.ParameterAt(i).GetIndented(), 0);
        EXPECT_EQ(section.ParameterAt(i).GetNameId(), nameIds[i]);
    }
}

TEST(VolumeRightsCatalogue, CompletesMissingListKeysAtTheEnd) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> keys;
    };
    const Case cases[] = {
        {"NFSUser without NFSGroup", "Name = CD1\nNFSUser = 5\nComment = x\n",
         {"Name", "NFSUser", "Comment", "SMBPassword", "NetWareUser/Group", "NFSIPAddress", "NFSGroup"}},
        {"present with an empty value counts",
         "SMBPassword =\nNetWareUser/Group =\nNFSIPAddress = *\nNFSGroup = \nNFSUser = 1\n",
         {"SMBPassword", "NetWareUser/Group", "NFSIPAddress", "NFSGroup", "NFSUser"}},
        {"keys under a header do not count", "Name = CD1\n[Other]\nSMBPassword = x\n",
         {"Name", "SMBPassword", "NetWareUser/Group", "NFSIPAddress", "NFSGroup", "NFSUser"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterHandler handler = Read(c.text);
        CatalogueOf(VolumeRights).Apply(handler);
        const ParameterSection& section = handler.SectionAt(0);
        EXPECT_EQ(section.GetName(), "");
        EXPECT_EQ(section.GetTitleId(), 30001);
        EXPECT_EQ(Keys(section), c.keys);
    }
}

TEST(VolumeRightsCatalogue, SpotChecks) {
    ParameterHandler handler =
        Read("Name = CD1\nAlias = cd\nUserLimit = 5\nSessionTimeout = 60\nDriveName = D\nLockEject = no\n"
             "Comment = a;b\nInsertedVolume = V\n[Other]\nLockEject = no\n");
    CatalogueOf(VolumeRights).Apply(handler);
    struct Case {
        std::string key;
        int nameId;
        std::string typeSpec;
    };
    const Case cases[] = {
        {"Name", 20200, "{Type Edit} {DDV NoWhite 255}"},
        {"UserLimit", 20202, "{Type Edit} {DDV Int 0 9999}"},
        {"SMBPassword", 20204, "{Type Edit} {DDV NoWhite;* 255}"},
        {"NetWareUser/Group", 20205, "{Type Edit} {DDV NoWhite;* 255} {UpperCase}"},
        {"NFSIPAddress", 20206, "{Type Edit} {DDV IP;* 255}"},
        {"NFSUser", 20208, "{Type Edit} {DDV UInt;*}"},
        {"LockEject", 20209, "{Type Combo yes/no}"},
        {"Comment", 20211, "{Type Edit} {DDV Text 50}"},
        {"InsertedVolume", 20212, "{Type Stat}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const Parameter* parameter = Find(handler, "", c.key);
        ASSERT_NE(parameter, nullptr);
        EXPECT_EQ(parameter->GetNameId(), c.nameId);
        EXPECT_EQ(parameter->GetTypeSpec(), c.typeSpec);
    }
    const Parameter* other = Find(handler, "Other", "LockEject");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->GetNameId(), 0);
    EXPECT_EQ(VolumeRightsCatalogueRows().size(), 14u);
}

TEST(ScsiCatalogue, ChoosesRowsByShapeOfSectionName) {
    ParameterHandler handler = Read(
        "[ID_1]\nDrive = CDROM\nVolumename = A\n"
        "[ID1_LUN0]\nDrive = x\nVolumename = VOL\nLockEject = no\nSCSIAlias = cd0\n"
        "[ID_2_LUN0]\nDrive = DVD\nVolumename = B\nLockEject = no\n"
        "[lun3]\nVolumename = C\n"
        "[id_4]\nDrive = y\n"
        "[General]\nDrive = z\n");
    CatalogueOf(ScsiDrives).Apply(handler);
    struct Case {
        std::string section, key;
        int nameId;
        std::string typeSpec;
    };
    const Case cases[] = {
        {"ID_1", "Drive", 20100, "{Type Stat}"},
        {"ID_1", "Volumename", 0, ""},
        {"ID1_LUN0", "Drive", 0, ""},
        {"ID1_LUN0", "Volumename", 20101, "{Type Stat}"},
        {"ID1_LUN0", "LockEject", 20102, "{Type Combo}"},
        {"ID1_LUN0", "SCSIAlias", 20103, "{Type Edit} {DDV NoWhite 20}"},
        {"ID_2_LUN0", "Drive", 20100, "{Type Stat}"},  // both shapes: a drive only
        {"ID_2_LUN0", "Volumename", 0, ""},
        {"ID_2_LUN0", "LockEject", 0, ""},
        {"lun3", "Volumename", 0, ""},  // shapes are case-sensitive
        {"id_4", "Drive", 0, ""},
        {"General", "Drive", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section + " / " + c.key);
        const Parameter* parameter = Find(handler, c.section, c.key);
        ASSERT_NE(parameter, nullptr);
        EXPECT_EQ(parameter->GetNameId(), c.nameId);
        EXPECT_EQ(parameter->GetTypeSpec(), c.typeSpec);
    }
    const std::map<std::string, int> titles = {{"ID_1", 0},      {"ID1_LUN0", 30002}, {"ID_2_LUN0", 0},
                                               {"lun3", 0},      {"id_4", 0},         {"General", 0}};
    for (const auto& [name, titleId] : titles) {
        SCOPED_TRACE(name);
        EXPECT_EQ(handler.FindSection(name).GetTitleId(), titleId);
    }
}

TEST(Catalogues, LoadAppliesTheCatalogueOfItsKind) {
    TempShare share;
    share.Write("Config/Config.ini", "[SMB]\nServerName = CD\n[NetWare]\nServerName = NW\n");
    share.Write("Volumes/CD1.ini", "Name = CD1\nLockEject = no\n");
    share.Write("Config/scsi.ini", "[ID2_LUN1]\nLockEject = no\n");
    struct Case {
        std::string file;
        CatalogueKind kind;
        std::string section, key, typeSpec;
    };
    const Case cases[] = {
        {"Config/Config.ini", Configuration, "SMB", "ServerName", "{Type Edit} {DDV Text 15} {UpperCase}"},
        {"Config/Config.ini", Configuration, "NetWare", "ServerName", "{Type Edit} {DDV Name 47} {UpperCase}"},
        {"Config/Config.ini", ScsiDrives, "SMB", "ServerName", ""},
        {"Volumes/CD1.ini", VolumeRights, "", "LockEject", "{Type Combo yes/no}"},
        {"Volumes/CD1.ini", VolumeRights, "", "NFSUser", "{Type Edit} {DDV UInt;*}"},
        {"Config/scsi.ini", ScsiDrives, "ID2_LUN1", "LockEject", "{Type Combo}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " kind " + std::to_string(c.kind) + ": " + c.key);
        ParameterHandler handler;
        handler.Load(share.Files(), c.file, CatalogueOf(c.kind));
        const Parameter* parameter = Find(handler, c.section, c.key);
        ASSERT_NE(parameter, nullptr);
        EXPECT_EQ(parameter->GetTypeSpec(), c.typeSpec);
    }
}

}  // namespace
