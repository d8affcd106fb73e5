#include "Catalogue.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ParameterHandler.h"
#include "ShareLocation.h"
#include "TextRules.h"

namespace {
// Every choice is a word of its own; "_" stands where a blank would be.
constexpr char timeZoneTypeString[] =
    "{Type Combo UTC/UTC+1_(No_DST)/UTC+2_(No_DST)/UTC+3_(No_DST)/UTC+4_(No_DST)"
    "/UTC+5_(No_DST)/UTC+6_(No_DST)/UTC+7_(No_DST)/UTC+8_(No_DST)/UTC+9_(No_DST)"
    "/UTC+10_(No_DST)/UTC+11_(No_DST)/UTC+12_(No_DST)/UTC-1_(No_DST)/UTC-2_(No_DST)"
    "/UTC-3_(No_DST)/UTC-4_(No_DST)/UTC-5_(No_DST)/UTC-6_(No_DST)/UTC-7_(No_DST)"
    "/UTC-8_(No_DST)/UTC-9_(No_DST)/UTC-10_(No_DST)/UTC-11_(No_DST)/UTC-12_(No_DST)/GB_Eire"
    "/Western_Europe/Iceland/Central_Europe/Poland/Eastern_Europe/Turkey/Western_Russia"
    "/US_CAN_Eastern/US_CAN_Central/Saskatchewan/US_CAN_Mountain/US_Arizona/US_CAN_Pacific"
    "/US_Alaska/US_Aleutian/Cuba/Egypt/Libya/Sudan/Tunisia/Brazil_Noronha/Brazil_Sao_Paulo"
    "/Brazil_Manaus/Brazil_Rio_Branco/Chile/Chile_Easter_Isl/Paraguay/Aust_Adelaide"
    "/Aust_Darwin/Aust_Hobart/Aust_Perth/Aust_Sidney/New_Zealand/Armenia_Azer/Burma/China_PRC"
    "/India/Iran/Iraq/Jordan/Kazak_Kirgi/Lebanon/Syria}";
}  // namespace

const char* const TimeZoneTypeString = timeZoneTypeString;

namespace {

constexpr const char* VolumeRightsSection = "";

constexpr std::array configurationRows = std::to_array<CatalogueRow>({
    {"Server", nullptr, 10100, nullptr},
    {"Server", "HardwareAddress", 10101, "{Type Stat}"},
    {"Server", "Date", 10105, "{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}"},
    {"Server", "Time", 10106, "{Type EditCheck} {DDV Time} {Write!} {NoValidSubmit}"},
    {"Server", "FactoryDefaults", 10102, "{Type Combo} {FactoryDefault} {NoValidSubmit}"},
    {"Server", "Restart", 10103, "{Type Combo} {Restart} {NoValidSubmit}"},
    {"Server", "MediaAgentMode", 10104, "{Type Combo}"},
    {"Server", "SourceRouting", 10107, "{Type Combo}"},
    {"Server", "TimeZone", 10108, timeZoneTypeString},
    {"Server", "TimeSyncSource", 10109, "{Type Combo}"},
    {"SCSI", nullptr, 10200, nullptr},
    {"SCSI", "SCSITermination", 10201, "{Type Combo}"},
    {"SCSI", "SCSITermination1", 10203, "{Type Combo}"},
    {"SCSI", "SCSITermination2", 10204, "{Type Combo}"},
    {"SCSI", "JukeBoxLockTime", 10202, "{Type Edit} {DDV Int 0 65535}"},
    {"IP", nullptr, 10300, nullptr},
    {"IP", "InternetAddress", 10301, "{Type Edit} {DDV IP}"},
    {"IP", "DefaultRouter", 10302, "{Type Edit} {DDV IP}"},
    {"IP", "NetMask", 10303, "{Type Edit} {DDV IP}"},
    {"IP", "BOOTPEnable", 10304, "{Type Combo}"},
    {"IP", "RARPEnable", 10305, "{Type Combo}"},
    {"SMB", nullptr, 10400, nullptr},
    {"SMB", "EnableNetBEUI", 10401, "{Type Combo}"},
    {"SMB", "EnableNBT", 10402, "{Type Combo}"},
    {"SMB", "Domain/GroupName", 10403, "{Type Edit} {DDV Text 15} {UpperCase}"},
    {"SMB", "ServerName", 10404, "{Type Edit} {DDV Text 15} {UpperCase}"},
    {"SMB", "NetBEUIFrameType", 10405, "{Type Combo}"},
    {"SMB", "ShowPseudoShares", 10406, "{Type Combo}"},
    {"NFS", nullptr, 10500, nullptr},
    {"NFS", "NFSEnable", 10501, "{Type Combo}"},
    {"NFS", "DefaultUid", 10502, "{Type Edit} {DDV Int -2147483648 2147483647}"},
    {"NFS", "PCNFSDAuthentServer", 10503, "{Type Edit} {DDV IP}"},
    {"HTTP/FTP", nullptr, 10600, nullptr},
    {"HTTP/FTP", "Password", 10601, "{Type Edit} {DDV NoWhite 16}"},
    {"HTTP/FTP", "HTTPEnable", 10602, "{Type Combo}"},
    {"HTTP/FTP", "BaseURL", 10603, "{Type Edit} {DDV NoWhite 19}"},
    {"SNMP", nullptr, 10700, nullptr},
    {"SNMP", "GetCommunityName", 10701, "{Type Edit} {DDV NoWhite 16}"},
    {"SNMP", "SetCommunityName", 10702, "{Type Edit} {DDV NoWhite 16}"},
    {"SNMP", "TrapDestination", 10703, "{Type Edit} {DDV IP}"},
    {"SNMP", "TrapCommunityName", 10708, "{Type Edit} {DDV NoWhite 16}"},
    {"SNMP", "SystemContact", 10704, "{Type Edit} {DDV NoWhite 16}"},
    {"SNMP", "SystemName", 10705, "{Type Edit} {DDV NoWhite 16}"},
    {"SNMP", "SystemLocation", 10706, "{Type Edit} {DDV NoWhite 16}"},
    {"SNMP", "AuthenticationTrap", 10707, "{Type Combo}"},
    {"NetWare", nullptr, 10800, nullptr},
    {"NetWare", "NWEnable", 10801, "{Type Combo}"},
    {"NetWare", "Frame_802.2", 10802, "{Type Combo}"},
    {"NetWare", "Frame_802.3", 10803, "{Type Combo}"},
    {"NetWare", "Frame_EthernetII", 10804, "{Type Combo}"},
    {"NetWare", "Frame_SNAP", 10805, "{Type Combo}"},
    {"NetWare", "ServerName", 10806, "{Type Edit} {DDV Name 47} {UpperCase}"},
    {"NetWare", "InternalNetAddress", 10807, "{Type Edit} {DDV NetWareAddress}"},
    {"NetWare", "BurstMode", 10808, "{Type Combo}"},
    {"NetWare", "SupervisorPassword", 10809, "{Type Edit} {DDV Text 47} {UpperCase}"},
    {"NetWare", "BindAuthentication", 10810, "{Type Edit} {DDV Name 47} {UpperCase}"},
    {"NetWare", "AuthenticationServer", 10811, "{Type Edit} {DDV Name 47} {UpperCase}"},
    {"NetWare", "BinderyEnable", 10812, "{Type Combo}"},
    {"NetWare", "NDSEnable", 10813, "{Type Combo}"},
    {"NetWare", "NDSTreeName", 10814, "{Type Edit} {DDV Name 47} {UpperCase}"},
    {"NetWare", "NDSServerContext", 10815, "{Type Edit} {DDV Text 256}"},
    {"NetWare", "NDSAdminName", 10816, "{Type Edit} {DDV Text 256}"},
    {"NetWare", "NDSAdminPassword", 10817, "{Type NoCheck} {DDV Name 47} {UpperCase}"},
    {"NetWare", "NDSInstall", 10818, "{Type Combo}"},
    {"NetWare", "TimeSyncSources", 10819, "{Type Combo SAP/SERVER_LIST}"},
});

constexpr std::array volumeRightsListKeys = std::to_array<const char*>({
    "SMBPassword", "NetWareUser/Group", "NFSIPAddress", "NFSGroup", "NFSUser",
});

constexpr std::array volumeRightsRows = std::to_array<CatalogueRow>({
    {VolumeRightsSection, nullptr, 30001, nullptr},
    {VolumeRightsSection, "Name", 20200, "{Type Edit} {DDV NoWhite 255}"},
    {VolumeRightsSection, "Alias", 20201, "{Type Edit} {DDV NoWhite 32}"},
    {VolumeRightsSection, "UserLimit", 20202, "{Type Edit} {DDV Int 0 9999}"},
    {VolumeRightsSection, "SessionTimeout", 20203, "{Type Edit} {DDV Int 0 999999}"},
    {VolumeRightsSection, "SMBPassword", 20204, "{Type Edit} {DDV NoWhite;* 255}"},
    {VolumeRightsSection, "NetWareUser/Group", 20205, "{Type Edit} {DDV NoWhite;* 255} {UpperCase}"},
    {VolumeRightsSection, "NFSIPAddress", 20206, "{Type Edit} {DDV IP;* 255}"},
    {VolumeRightsSection, "NFSGroup", 20207, "{Type Edit} {DDV UInt;*}"},
    {VolumeRightsSection, "NFSUser", 20208, "{Type Edit} {DDV UInt;*}"},
    {VolumeRightsSection, "DriveName", 20210, "{Type Stat}"},
    {VolumeRightsSection, "LockEject", 20209, "{Type Combo yes/no}"},
    {VolumeRightsSection, "Comment", 20211, "{Type Edit} {DDV Text 50}"},
    {VolumeRightsSection, "InsertedVolume", 20212, "{Type Stat}"},
});

// scsi.ini: a section whose name holds "ID_" describes a drive, one whose
// name holds "LUN" (and not "ID_") a volume.
constexpr int DriveNameId = 20100;
constexpr const char* DriveTypeSpec = "{Type Stat}";
constexpr int VolumeTitleId = 30002;

struct KeyRow {
    const char* key;
    int nameId;
    const char* typeSpec;
};

constexpr std::array volumeRows = std::to_array<KeyRow>({
    {"Volumename", 20101, "{Type Stat}"},
    {"LockEject", 20102, "{Type Combo}"},
    {"SCSIAlias", 20103, "{Type Edit} {DDV NoWhite 20}"},
});

// Applies rows to every section their section name names, section by
// section: rows come grouped by section, so each section is matched against
// the few groups once and a file of many sections loads in linear time.
void applyRows(ParameterHandler& handler, std::span<const CatalogueRow> rows) {
    std::vector<std::span<const CatalogueRow>> groups;
    for (size_t first = 0; first < rows.size();) {
        size_t end = first + 1;
        while (end < rows.size() && std::string_view(rows[end].section) == rows[first].section) ++end;
        groups.push_back(rows.subspan(first, end - first));
        first = end;
    }
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        ParameterSection& section = handler.SectionAt(s);
        for (const std::span<const CatalogueRow>& group : groups) {
            if (section.GetName() != group.front().section) continue;
            for (const CatalogueRow& row : group) {
                if (row.key == nullptr) {
                    section.SetTitleId(row.id);
                } else {
                    section.SetParameterAttributes(row.key, row.id, row.typeSpec);
                }
            }
        }
    }
}

}  // namespace

std::span<const CatalogueRow> ConfigurationCatalogueRows() { return configurationRows; }
std::span<const CatalogueRow> VolumeRightsCatalogueRows() { return volumeRightsRows; }

namespace {

class ConfigurationCatalogue : public ParameterCatalogue {
public:
    void Apply(ParameterHandler& handler) const override { applyRows(handler, configurationRows); }
};

class VolumeRightsCatalogue : public ParameterCatalogue {
public:
    void Apply(ParameterHandler& handler) const override;
};

class ScsiCatalogue : public ParameterCatalogue {
public:
    void Apply(ParameterHandler& handler) const override;
};

void VolumeRightsCatalogue::Apply(ParameterHandler& handler) const {
    // The title row comes first, so a file without parameters gets no title:
    // its section only comes into being with the list keys below.
    applyRows(handler, std::span(volumeRightsRows).first(1));
    for (const char* key : volumeRightsListKeys) {
        std::string value;
        if (!handler.GetValue(VolumeRightsSection, key, value)) {
            handler.AddParameter(VolumeRightsSection, key, "", "", 0);
        }
    }
    applyRows(handler, std::span(volumeRightsRows).subspan(1));
}

void ScsiCatalogue::Apply(ParameterHandler& handler) const {
    for (int i = 0; i < handler.GetSectionCount(); ++i) {
        ParameterSection& section = handler.SectionAt(i);
        const std::string& name = section.GetName();
        if (name.find("ID_") != std::string::npos) {
            section.SetParameterAttributes("Drive", DriveNameId, DriveTypeSpec);
        } else if (name.find("LUN") != std::string::npos) {
            section.SetTitleId(VolumeTitleId);
            for (const KeyRow& row : volumeRows) section.SetParameterAttributes(row.key, row.nameId, row.typeSpec);
        }
    }
}

}  // namespace

const ParameterCatalogue& CatalogueOf(CatalogueKind kind) {
    static const ConfigurationCatalogue configuration;
    static const VolumeRightsCatalogue volumeRights;
    static const ScsiCatalogue scsi;
    switch (kind) {
    case VolumeRights: return volumeRights;
    case ScsiDrives: return scsi;
    case Configuration: break;
    }
    return configuration;
}

CatalogueKind KindOfPath(const std::string& path) {
    const std::vector<std::string> parts = SplitPathComponents(path, "/\\");
    if (parts.empty()) return Configuration;
    const size_t last = parts.size() - 1;
    for (size_t up = 1; up <= 2 && up <= last; ++up) {
        if (EqualIgnoringCase(parts[last - up], "volumes")) return VolumeRights;
    }
    if (EqualIgnoringCase(parts[last], "scsi.ini")) return ScsiDrives;
    return Configuration;
}
