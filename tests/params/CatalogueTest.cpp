#include "Catalogue.h"

#include <gtest/gtest.h>

#include "ParameterHandler.h"
#include "StoreDump.h"
#include "StringTable.h"

namespace {

// "[name]=titleId" per section, "key=nameId" per parameter (a type string with every name).
std::string Annotations(const ParameterHandler& handler) {
    std::string out;
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& section = handler.SectionAt(s);
        out += "[" + section.GetName() + "]=" + std::to_string(section.GetTitleId()) + "\n";
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            const Parameter& parameter = section.ParameterAt(p);
            EXPECT_EQ(parameter.GetNameId() != 0, !parameter.GetTypeSpec().empty()) << parameter.GetKey();
            out += parameter.GetKey() + "=" + std::to_string(parameter.GetNameId()) + "\n";
        }
    }
    return out;
}

std::string Applied(CatalogueKind kind, const std::string& text) {
    ParameterHandler handler = FromText(text);
    CatalogueOf(kind).Apply(handler);
    return Annotations(handler);
}

// No row shows an empty label or tab title; an ID the table lacks gives "".
TEST(Catalogues, EveryNameAndTitleHasAText) {
    for (const auto rows : {ConfigurationCatalogueRows(), VolumeRightsCatalogueRows()}) {
        for (const CatalogueRow& row : rows) EXPECT_NE(LoadString(row.id), "") << row.section << "/" << (row.key ? row.key : "");
    }
    ParameterHandler scsi = FromText("[ID_1]\nDrive=x\n[ID1_LUN0]\nVolumename=v\nLockEject=no\nSCSIAlias=a\n");
    CatalogueOf(ScsiDrives).Apply(scsi);
    EXPECT_NE(LoadString(scsi.SectionAt(1).GetTitleId()), "");
    for (int s = 0; s < 2; ++s) {
        for (int p = 0; p < scsi.SectionAt(s).GetParameterCount(); ++p) {
            EXPECT_NE(LoadString(scsi.SectionAt(s).ParameterAt(p).GetNameId()), "") << s << "/" << p;
        }
    }
    EXPECT_EQ(LoadString(0), "");
    EXPECT_EQ(LoadString(99999), "");
}

// The file decides which parameters exist: a catalogue only annotates them,
// in every section of the name, and leaves values as read.
TEST(Catalogues, AnnotateOnlyWhatTheFileHolds) {
    const struct { const char* name; CatalogueKind kind; std::string text, annotations; } cases[] = {
        {"configuration", Configuration, "[IP]\nInternetAddress = 010.1.1.1\nFutureKey = 1\n[Server]\nRestart = no\n",
         "[IP]=10300\nInternetAddress=10301\nFutureKey=0\n[Server]=10100\nRestart=10103\n"},
        {"a known key in an unknown section", Configuration, "[Extra]\nRestart = no\n", "[Extra]=0\nRestart=0\n"},
        {"rights: list keys appended, title with them", VolumeRights, "Name = CD1\nNFSUser = 5\n[Other]\nSMBPassword = x\n",
         "[]=30001\nName=20200\nNFSUser=20208\nSMBPassword=20204\nNetWareUser/Group=20205\nNFSIPAddress=20206\n"
         "NFSGroup=20207\n[Other]=0\nSMBPassword=0\n"},
        // Sections holding "ID_" describe a drive, others holding "LUN" a volume; case counts.
        {"scsi", ScsiDrives, "[ID_1]\nDrive=a\nVolumename=b\n[ID1_LUN0]\nDrive=c\nSCSIAlias=d\n[ID_2_LUN0]\nLockEject=no\n"
                             "[lun3]\nVolumename=e\n",
         "[ID_1]=0\nDrive=20100\nVolumename=0\n[ID1_LUN0]=30002\nDrive=0\n"
         "SCSIAlias=20103\n[ID_2_LUN0]=0\nLockEject=0\n[lun3]=0\nVolumename=0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Applied(c.kind, c.text), c.annotations);
    }
    ParameterHandler handler = FromText("[IP]\nInternetAddress = 010.1.1.1\n");
    CatalogueOf(Configuration).Apply(handler);
    EXPECT_EQ(Dump(handler), "[IP]\nInternetAddress=010.1.1.1||0\n");
    EXPECT_EQ(Applied(VolumeRights, "").substr(0, 14), "[]=0\nSMBPasswo");  // an empty rights file: no title
}

}  // namespace
