#include <climits>
#include <filesystem>
#include <random>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "Catalogue.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ShareFile.h"
#include "StoreDump.h"
#include "StringTable.h"
#include "TempShare.h"

namespace {

// One line of a file: a header, a key with value and remark, or nothing.
TEST(ParseLine, BreaksALineIntoItsParts) {
    const struct { std::string line; bool counts; std::string section, key, value, comment; int indented; } cases[] = {
        {"Key=Value", true, "", "Key", "Value", "", 0},
        {"   Key  \t= a=b ; a note ; more ", true, "", "Key", "a=b", "a note ; more", 1},
        {"\tKey\v= v\f\r", true, "", "Key", "v", "", 0},
        {"Key = a ; b = c", true, "", "Key", "a", "b = c", 0},
        {std::string("K\0y = v\0w", 9), true, "", std::string("K\0y", 3), std::string("v\0w", 3), "", 0},
        // Only the exact key Comment keeps its semicolons.
        {"  Comment = x = y ; z ", true, "", "Comment", "x = y ; z", "", 1},
        {"Comments = a;b", true, "", "Comments", "a", "b", 0},
        {"Comment ; x = y", true, "", "", "", "x = y", 0},
        {"[ Server ] ; main", true, "Server", "", "", "main", 0},
        {"  [ Open  ", true, "Open", "", "", "", 0},
        {"[Sec;tion]", true, "Sec", "", "", "tion]", 0},
        {"[ \t ]", true, "", "", "", "", 0},  // nothing between the brackets: an empty parameter
        {"  \t\r", false, "", "", "", "", 0},
        {"   ; remark = x", false, "", "", "", "", 0},
        {"QUOR Tessaron CD V3.02 S/N: 1234", true, "", "", "", "", 0},  // neither "=" nor "[" still counts
        {"word ; note", true, "", "", "", "note", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.line));
        const ParsedLine parsed = ParseLine(c.line);
        EXPECT_EQ(parsed.counts, c.counts);
        EXPECT_EQ(parsed.section, c.section);
        EXPECT_EQ(parsed.key, c.key);
        EXPECT_EQ(parsed.value, c.value);
        EXPECT_EQ(parsed.comment, c.comment);
        EXPECT_EQ(parsed.indented, c.indented);
    }
}

TEST(ReadText, BuildsSectionsAndParameters) {
    const std::pair<std::string, std::string> cases[] = {
        {"; remark\n\n   \n\t; another\n", ""},
        {"[S]\r\nA=1\r\nB = 2 ; c", "[S]\nA=1||0\nB=2|c|0\n"},
        {"QUOR Tessaron CD V3.02\nVersion=3\n[S]\nA=1\n", "[]\n=||0\nVersion=3||0\n[S]\nA=1||0\n"},
        {"[S]\n  K=a ; note\nJ=x\nK=b\n  K = c ; last\n", "[S]\nK=a ; b ; c|last|1\nJ=x||0\n"},
        {"[S]\nK=\nK=\n", "[S]\nK= ; ||0\n"},
        {"[A]\nx=1\n[B]\ny=2\n[A]\nz=3\nx=4\n", "[A]\nx=1 ; 4||0\nz=3||0\n[B]\ny=2||0\n"},
        {"[A]\n[B]\nx=1\n[C]\n; remark\n", "[B]\nx=1||0\n"},
        {"[S]\nx=1\n[END]\ny=2\n[END]\n", "[S]\nx=1||0\n[END]\ny=2||0\n"},
        {"[S]\n[]\n[ ]\n", "[S]\n= ; ||0\n"},
        {"first line\nsecond line ; c\n", "[]\n= ; |c|0\n"},
        {"[S]\nKey=1\nkey=2\n[s]\nKey=3\n", "[S]\nKey=1||0\nkey=2||0\n[s]\nKey=3||0\n"},
        {"[S]\nComment = a;b\nComment = c\n", "[S]\nComment=a;b ; c||0\n"},
        {std::string("[S]\nK=a\0b\n", 10), std::string("[S]\nK=a\0b||0\n", 13)},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(Dump(FromText(text)), expected);
    }
    ParameterHandler handler = FromText("[A]\nx=1\n");
    handler.ReadText("[B]\ny=2\n[A]\nx=3\n");  // adds to the sections already held
    EXPECT_EQ(Dump(handler), "[A]\nx=1 ; 3||0\n[B]\ny=2||0\n");
    const ParameterHandler longLine = FromText("[S]\nK = " + std::string(200000, 'v') + " ; c\n");
    EXPECT_EQ(longLine.SectionAt(0).ParameterAt(0).GetValue().size(), 200000u);
}

// The canonical text a file is written back as.
TEST(Format, WritesCanonicalText) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "[END]\n"},
        {"; head\n\n[S] ; x\n   K=v ; note\n\n  J=\n", "[S]\nK = v\nJ = \n[END]\n"},
        // Empty list keys are left out; the lists are case-sensitive.
        {"[S]\nSMBPassword=\nNetWareUser/Group=\nNFSIPAddress=\nNFSGroup=\nNFSUser=\nnfsuser=\n", "[S]\nnfsuser = \n[END]\n"},
        // A repeated key is written where it first stood, one line per item.
        {"[NFS]\nNFSUser=a\nOther=1\nNFSUser=b\n", "[NFS]\nNFSUser = a\nNFSUser = b\nOther = 1\n[END]\n"},
        {"[S]\nK=a\nK=\nK=b\nK=\nNFSGroup=a\nNFSGroup=\n", "[S]\nK = a\nK = b\nK = \nNFSGroup = a\n[END]\n"},
        {"[S]\nComment = a; b ;c\n", "[S]\nComment = a; b ;c\n[END]\n"},
        {"QUOR Tessaron CD\n[A]\n[S]\nK=1\n", " = \n[S]\nK = 1\n[END]\n"},
        {"[Server]\nA=1\n[Net]\nB=2\n[Server]\nC=3\n", "[Server]\nA = 1\nC = 3\n[Net]\nB = 2\n[END]\n"},
        {"[S]\nK=1\n[END]\nX=2\n", "[S]\nK = 1\n[END]\nX = 2\n[END]\n"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(FromText(text).Format(), expected);
        EXPECT_EQ(FromText(expected).Format(), expected);  // written text reads back the same
    }
}

// Values set by the program are split at every semicolon, not only at the
// canonical " ; " the reader joins with.
TEST(Format, SplitsValuesSetByTheProgram) {
    const struct { std::string key, value, expected; } cases[] = {
        {"K", " a ;; b ;  ", "K = a\nK = b\nK = \n"}, {"K", ";", "K = \n"},
        {"NetWareUser/Group", "x;", "NetWareUser/Group = x\n"}, {"SMBPassword", " ; ", ""},
        {"Comment", " ; ", "Comment = ;\n"},      {"Comment", "  free ; text  ", "Comment = free ; text\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + " <- \"" + c.value + "\"");
        ParameterHandler handler = FromText("[S]\n" + c.key + " = old\n");
        ASSERT_TRUE(handler.SetValue("S", c.key, c.value));
        EXPECT_EQ(handler.Format(), "[S]\n" + c.expected + "[END]\n");
    }
}

// The unnamed section has no header of its own: wherever it stands in the
// store, it comes first in the file, or its parameters would be read back
// into another section.
TEST(Format, UnnamedSectionAlwaysFirst) {
    ParameterHandler handler = FromText("[S]\nK=1\n");
    handler.AddParameter("", "Rights", "rw", "", 0);
    EXPECT_EQ(handler.Format(), "Rights = rw\n[S]\nK = 1\n[END]\n");
}

// Sections and keys are found by their exact names; a value asked for starts
// empty, a set never adds a parameter, a section asked for must exist.
TEST(Lookup, ValuesByExactSectionAndKey) {
    const std::string text = "[Server]\nName = Tess\nEmpty =\n[Net]\nIP = 1.2.3.4\nName = net\n";
    const struct { std::string section, key; bool found; std::string value; } cases[] = {
        {"Server", "Name", true, "Tess"}, {"Net", "Name", true, "net"},   {"Server", "Empty", true, ""},
        {"Server", "IP", false, ""},      {"server", "Name", false, ""}, {"Server", " Name", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section + "/" + c.key);
        ParameterHandler handler = FromText(text);
        std::string value = "stale";
        EXPECT_EQ(handler.GetValue(c.section, c.key, value), c.found);
        EXPECT_EQ(value, c.value);
        const std::string before = Dump(handler);
        EXPECT_EQ(handler.SetValue(c.section, c.key, "changed"), c.found);
        EXPECT_EQ(handler.GetValue(c.section, c.key, value) && value == "changed", c.found);
        EXPECT_EQ(Dump(handler) == before, !c.found);
    }
    ParameterHandler handler = FromText(text);
    EXPECT_THROW(handler.GetSection("net"), ParameterHandler::ParameterError);
    EXPECT_THROW(handler.FindSection("Missing"), ParameterHandler::ParameterError);
    ParameterSection net("Net");
    EXPECT_THROW(net.SetValue("IP", "x"), ParameterNotFound);
    try {
        net.GetParameter("IP");
        FAIL() << "no exception";
    } catch (const FileException& error) {  // "Could not access parameter file!" first, naming the key
        EXPECT_EQ(error.MessageId(), 1021);
        EXPECT_NE(error.Reason().find("IP"), std::string::npos);
    }
}

// A page shows a slice of a section: a range outside the section keeps it whole.
TEST(Lookup, KeepRangeKeepsOnlyValidRanges) {
    const struct { int first, count; std::string keys; } cases[] = {
        {0, 2, "ab"}, {1, 2, "bc"}, {3, 2, "de"}, {5, 0, ""}, {-1, 2, "abcde"}, {2, -1, "abcde"}, {4, 2, "abcde"},
        {1, INT_MAX, "abcde"}, {INT_MIN, 3, "abcde"},
    };
    for (const auto& c : cases) {
        ParameterSection section = FromText("[S]\na=1\nb=2\nc=3\nd=4\ne=5\n").GetSection("S");
        section.KeepRange(c.first, c.count);
        std::string keys;
        for (int i = 0; i < section.GetParameterCount(); ++i) keys += section.ParameterAt(i).GetKey();
        EXPECT_EQ(keys, c.keys) << c.first << "," << c.count;
    }
}

namespace fs = std::filesystem;

ParameterHandler Loaded(const TempShare& share, const std::string& name, CatalogueKind kind = Configuration) {
    ParameterHandler handler;
    handler.Load(share.Files(), name, CatalogueOf(kind));
    return handler;
}

// Loading builds the same store as feeding every line through ParseLine and
// AddParameter, the plain definition of reading. Generated files larger than
// one piece of reading, with many sections, repeated headers and repeated
// keys, exercise the lookup indexes and the state kept from piece to piece.
TEST(HandlerFile, LoadsLikeTheLineByLineDefinition) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::string text = "Title\n";
        // The first seed keeps every key in one section, which grows past the
        // size from which room is taken for all the lines still to come.
        const int sectionNames = seed == 1 ? 1 : 1 + static_cast<int>(random() % 60);
        const int keyNames = 1 + static_cast<int>(random() % 3000);
        for (int line = 0; line < 12000; ++line) {
            switch (random() % 10) {
            case 0: text += "[Sec" + std::to_string(random() % sectionNames) + "]\n"; break;
            case 1: text += "; remark\n"; break;
            case 2: text += "  Key" + std::to_string(random() % keyNames) + " = v" + std::to_string(line) + " ; c\n"; break;
            case 3: text += "Comment = " + std::to_string(line) + ";x\n"; break;
            default: text += "Key" + std::to_string(random() % keyNames) + "=" + std::to_string(line) + "\n";
            }
        }
        ParameterHandler reference;
        std::string current;
        for (size_t start = 0; start < text.size();) {
            const size_t end = text.find('\n', start);
            const ParsedLine parsed = ParseLine(text.substr(start, end - start));
            start = end + 1;
            if (!parsed.counts) continue;
            if (!parsed.section.empty()) current = parsed.section;
            if (parsed.section.empty()) reference.AddParameter(current, parsed.key, parsed.value, parsed.comment, parsed.indented);
        }
        TempShare share;
        share.Write("Config.ini", BytesOfText(text));
        EXPECT_TRUE(Dump(Loaded(share, "Config.ini")) == Dump(reference));
        EXPECT_TRUE(Dump(FromText(text)) == Dump(reference));
    }
}

// A failed Load leaves an empty handler, whatever it held before, and a
// Write never creates a file.
TEST(HandlerFile, AFailedLoadLeavesNothingToWrite) {
    TempShare share;
    share.Write("good.ini", "[A]\r\nx=1\r\n");
    ParameterHandler handler = Loaded(share, "good.ini");
    ASSERT_EQ(handler.GetSectionCount(), 1);
    EXPECT_THROW(handler.Load(share.Files(), "missing.ini", CatalogueOf(Configuration)), FileException);
    EXPECT_EQ(handler.GetSectionCount(), 0);
    EXPECT_THROW(handler.Write(), FileException);
    handler = Loaded(share, "good.ini");
    fs::remove(share.PathOf("good.ini"));
    EXPECT_THROW(handler.Write(), FileException);
    EXPECT_THROW(ParameterHandler().Write(), FileException);
    EXPECT_FALSE(fs::exists(share.PathOf("missing.ini")) || fs::exists(share.PathOf("good.ini")));
    // A file of no bytes, as a cut write leaves it, is no file without settings.
    share.Write("empty.ini", "");
    try {
        handler.Load(share.Files(), "empty.ini", CatalogueOf(VolumeRights));
        ADD_FAILURE() << "loaded an empty file";
    } catch (const FileException& error) {
        EXPECT_EQ(error.Detail(), share.PathOf("empty.ini") + ": the file is empty (0 bytes)");
    }
    EXPECT_THROW(handler.Write(), FileException);
    EXPECT_EQ(share.Read("empty.ini"), "");
}

// "[name]=titleId" per section, "key=nameId" per parameter (a type string
// with every name; no name or title shows an empty text).
std::string Annotations(const ParameterHandler& handler) {
    std::string out;
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& section = handler.SectionAt(s);
        EXPECT_EQ(section.GetTitleId() != 0, LoadString(section.GetTitleId()) != "") << section.GetName();
        out += "[" + section.GetName() + "]=" + std::to_string(section.GetTitleId()) + "\n";
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            const Parameter& parameter = section.ParameterAt(p);
            EXPECT_EQ(parameter.GetNameId() != 0, !parameter.GetTypeSpec().empty()) << parameter.GetKey();
            EXPECT_EQ(parameter.GetNameId() != 0, LoadString(parameter.GetNameId()) != "") << parameter.GetKey();
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

// No row of the tables shows an empty label or tab title; an ID the table lacks gives "".
TEST(Catalogues, EveryNameAndTitleHasAText) {
    for (const auto rows : {ConfigurationCatalogueRows(), VolumeRightsCatalogueRows()}) {
        for (const CatalogueRow& row : rows) EXPECT_NE(LoadString(row.id), "") << row.section << "/" << (row.key ? row.key : "");
    }
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
        {"scsi", ScsiDrives, "[ID_1]\nDrive=a\nVolumename=b\n[ID1_LUN0]\nDrive=c\nSCSIAlias=d\nVolumename=f\nLockEject=no\n[ID_2_LUN0]\nLockEject=no\n"
                             "[lun3]\nVolumename=e\n",
         "[ID_1]=0\nDrive=20100\nVolumename=0\n[ID1_LUN0]=30002\nDrive=0\n"
         "SCSIAlias=20103\nVolumename=20101\nLockEject=20102\n[ID_2_LUN0]=0\nLockEject=0\n[lun3]=0\nVolumename=0\n"},
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
