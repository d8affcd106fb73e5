#include <gtest/gtest.h>

#include <string>

#include "ParameterHandler.h"
#include "StoreDump.h"

namespace {

struct FormatCase {
    const char* name;
    std::string text;      // file as read
    std::string expected;  // canonical text written back
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class FormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, WritesCanonicalText) { EXPECT_EQ(FromText(GetParam().text).Format(), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Files, FormatTest,
    testing::Values(
        FormatCase{"Empty", "", "[END]\n"},
        FormatCase{"KeyAndValue", "[S]\nK=v\n", "[S]\nK = v\n[END]\n"},
        FormatCase{"DropsRemarksIndentAndBlankLines", "; head\n\n[S] ; x\n   K = v ; note\n\n  J=w\n",
                   "[S]\nK = v\nJ = w\n[END]\n"},
        FormatCase{"EmptyValue", "[S]\nK=\n", "[S]\nK = \n[END]\n"},
        FormatCase{"EmptyListKeysLeftOut",
                   "[S]\nSMBPassword=\nNetWareUser/Group=\nNFSIPAddress=\nNFSGroup=\nNFSUser=\nOther=\n",
                   "[S]\nOther = \n[END]\n"},
        FormatCase{"RepeatedListKeyAtItsFirstPlace", "[NFS]\nNFSUser=a\nOther=1\nNFSUser=b\n",
                   "[NFS]\nNFSUser = a\nNFSUser = b\nOther = 1\n[END]\n"},
        FormatCase{"EmptyPieceBetweenItemsSkipped", "[S]\nK=a\nK=\nK=b\n", "[S]\nK = a\nK = b\n[END]\n"},
        FormatCase{"EmptyFinalPieceOrdinaryKey", "[S]\nK=a\nK=b\nK=\n", "[S]\nK = a\nK = b\nK = \n[END]\n"},
        FormatCase{"EmptyFinalPieceListKey", "[S]\nNFSGroup=a\nNFSGroup=b\nNFSGroup=\n",
                   "[S]\nNFSGroup = a\nNFSGroup = b\n[END]\n"},
        FormatCase{"ListKeysAreCaseSensitive", "[S]\nnfsuser=\n", "[S]\nnfsuser = \n[END]\n"},
        FormatCase{"FreeTextKeyKeepsSemicolons", "[S]\nComment = a; b ;c\n", "[S]\nComment = a; b ;c\n[END]\n"},
        FormatCase{"FreeTextKeyEmpty", "[S]\nComment=\n", "[S]\nComment = \n[END]\n"},
        FormatCase{"UnnamedSectionWithoutHeader", "QUOR Tessaron CD\n[S]\nK=1\n", " = \n[S]\nK = 1\n[END]\n"},
        FormatCase{"HeaderWithoutParametersGone", "[A]\n[B]\nK=1\n", "[B]\nK = 1\n[END]\n"},
        FormatCase{"SecondHeaderGathered", "[Server]\nA=1\n[Net]\nB=2\n[Server]\nC=3\n",
                   "[Server]\nA = 1\nC = 3\n[Net]\nB = 2\n[END]\n"},
        FormatCase{"SectionEndWrittenBeforeTerminator", "[S]\nK=1\n[END]\nX=2\n",
                   "[S]\nK = 1\n[END]\nX = 2\n[END]\n"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

// Values set by the program are split at every semicolon, not only at the
// canonical " ; " the reader joins with.
struct SetValueCase {
    std::string key;
    std::string value;
    std::string expected;
};

TEST(FormatTest, SplitsValuesSetByTheProgram) {
    const SetValueCase cases[] = {
        {"K", " a ;; b ;  ", "K = a\nK = b\nK = \n"},
        {"K", ";", "K = \n"},
        {"K", "a;b;c", "K = a\nK = b\nK = c\n"},
        {"NetWareUser/Group", "x;", "NetWareUser/Group = x\n"},
        {"SMBPassword", " ; ", ""},
        {"SMBPassword", "secret", "SMBPassword = secret\n"},
        {"Comment", " ; ", "Comment = ;\n"},
        {"Comment", "  free ; text  ", "Comment = free ; text\n"},
    };
    for (const SetValueCase& c : cases) {
        SCOPED_TRACE(c.key + " <- \"" + c.value + "\"");
        ParameterHandler handler = FromText("[S]\n" + c.key + " = old\n");
        ASSERT_TRUE(handler.SetValue("S", c.key, c.value));
        EXPECT_EQ(handler.Format(), "[S]\n" + c.expected + "[END]\n");
    }
}

// The unnamed section has no header of its own: wherever it stands in the
// store, it must come first in the file, or its parameters would be read
// back into another section.
TEST(FormatTest, UnnamedSectionAlwaysFirst) {
    ParameterHandler handler = FromText("[S]\nK=1\n");
    handler.AddParameter("", "Rights", "rw", "", 0);
    ASSERT_EQ(handler.SectionAt(1).GetName(), "");
    const std::string text = handler.Format();
    EXPECT_EQ(text, "Rights = rw\n[S]\nK = 1\n[END]\n");
    EXPECT_EQ(Dump(FromText(text)), "[]\nRights=rw||0\n[S]\nK=1||0\n");
}

// Rewriting and reading again gives back the same store.
TEST(FormatTest, ReadingWrittenTextGivesSameStore) {
    const std::string texts[] = {
        "Title line\n[Server]\n  Name = a ; c\nNFSUser=u1\nComment = x;y\n[Net]\nIP=1.2.3.4\n[Server]\nNFSUser=u2\n",
        "[S]\nK=a\nK=b\nK=\nJ = \n[END]\n[T]\nX=1\n",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const ParameterHandler first = FromText(text);
        const ParameterHandler second = FromText(first.Format());
        EXPECT_EQ(second.Format(), first.Format());
        for (int s = 0; s < first.GetSectionCount(); ++s) {
            for (int p = 0; p < first.SectionAt(s).GetParameterCount(); ++p) {
                const Parameter& parameter = first.SectionAt(s).ParameterAt(p);
                std::string value;
                EXPECT_TRUE(second.GetValue(first.SectionAt(s).GetName(), parameter.GetKey(), value));
                EXPECT_EQ(value, parameter.GetValue());
            }
        }
    }
}

}  // namespace
