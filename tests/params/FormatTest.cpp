#include <gtest/gtest.h>

#include <string>

#include "ParameterHandler.h"
#include "StoreDump.h"

namespace {

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

}  // namespace
