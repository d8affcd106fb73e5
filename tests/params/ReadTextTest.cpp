#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ParameterHandler.h"
#include "StoreDump.h"

namespace {

struct ReadCase {
    const char* name;
    std::string text;
    std::string expected;  // Dump of the store after reading
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadTextTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadTextTest, BuildsSectionsAndParameters) {
    EXPECT_EQ(Dump(FromText(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadTextTest,
    testing::Values(
        ReadCase{"Empty", "", ""},
        ReadCase{"OnlyRemarksAndBlankLines", "; remark\n\n   \n\t; another\n", ""},
        ReadCase{"OneSection", "[Server]\nName = Tess\nPort=80 ; web\n",
                 "[Server]\nName=Tess||0\nPort=80|web|0\n"},
        ReadCase{"LastLineWithoutLineEnd", "[S]\nA=1\nB=2", "[S]\nA=1||0\nB=2||0\n"},
        ReadCase{"CarriageReturnLineEnds", "[S]\r\nA=1\r\nB = 2 ; c\r\n", "[S]\nA=1||0\nB=2|c|0\n"},
        ReadCase{"UnnamedSectionFirst", "QUOR Tessaron CD V3.02\nVersion=3\n[S]\nA=1\n",
                 "[]\n=||0\nVersion=3||0\n[S]\nA=1||0\n"},
        ReadCase{"RepeatedKeyJoinsValues", "[S]\nK=a ; first\nJ=x\nK=b ; second\n",
                 "[S]\nK=a ; b|second|0\nJ=x||0\n"},
        ReadCase{"RepeatedKeyTakesLastCommentAndIndent", "[S]\n  K=a ; note\nK=b\n  K = c\nK=d\n",
                 "[S]\nK=a ; b ; c ; d||0\n"},
        ReadCase{"RepeatedEmptyValues", "[S]\nK=\nK=\n", "[S]\nK= ; ||0\n"},
        ReadCase{"RepeatedHeaderContinuesSection", "[A]\nx=1\n[B]\ny=2\n[A]\nz=3\nx=4\n",
                 "[A]\nx=1 ; 4||0\nz=3||0\n[B]\ny=2||0\n"},
        ReadCase{"HeaderWithoutParametersVanishes", "[A]\n[B]\nx=1\n[C]\n; remark\n", "[B]\nx=1||0\n"},
        ReadCase{"LinesAfterEndFormSectionEnd", "[S]\nx=1\n[END]\ny=2\n[END]\n",
                 "[S]\nx=1||0\n[END]\ny=2||0\n"},
        ReadCase{"EmptyBracketsAddEmptyParameter", "[S]\n[]\n[ ]\n", "[S]\n= ; ||0\n"},
        ReadCase{"TextLinesMergeAsEmptyKey", "first line\nsecond line ; c\n", "[]\n= ; |c|0\n"},
        ReadCase{"HeaderWithRemarkAndNoBracket", "[ Net ] ; network\nA=1\n[Open\nB=2\n",
                 "[Net]\nA=1||0\n[Open]\nB=2||0\n"},
        ReadCase{"SameKeyInTwoSectionsStaysApart", "[A]\nK=1\n[B]\nK=2\n", "[A]\nK=1||0\n[B]\nK=2||0\n"},
        ReadCase{"KeysAreCaseSensitive", "[S]\nKey=1\nkey=2\n[s]\nKey=3\n",
                 "[S]\nKey=1||0\nkey=2||0\n[s]\nKey=3||0\n"},
        ReadCase{"FreeTextKeyRepeated", "[S]\nComment = a;b\nComment = c\n", "[S]\nComment=a;b ; c||0\n"},
        ReadCase{"NulBytesKept", std::string("[S]\nK=a\0b\n", 10), std::string("[S]\nK=a\0b||0\n", 13)}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ReadTextTest, AcceptsLinesOfAnyLength) {
    const std::string longValue(200000, 'v');
    const ParameterHandler handler = FromText("[S]\nK = " + longValue + " ; " + std::string(100000, 'c') + "\n");
    std::string value;
    ASSERT_TRUE(handler.GetValue("S", "K", value));
    EXPECT_EQ(value, longValue);
    EXPECT_EQ(handler.SectionAt(0).ParameterAt(0).GetComment().size(), 100000u);
}

TEST(ReadTextTest, AddsToSectionsAlreadyHeld) {
    ParameterHandler handler = FromText("[A]\nx=1\n");
    handler.ReadText("[B]\ny=2\n[A]\nx=3\nz=4\n");
    EXPECT_EQ(Dump(handler), "[A]\nx=1 ; 3||0\nz=4||0\n[B]\ny=2||0\n");
}

// Reading builds the same store as feeding every line through ParseLine and
// AddParameter, the plain definition of reading. Generated files with many
// sections, repeated headers and repeated keys exercise the lookup indexes.
TEST(ReadTextTest, MatchesLineByLineDefinition) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::string text;
        const int sectionNames = 1 + static_cast<int>(random() % 60);
        const int keyNames = 1 + static_cast<int>(random() % 300);
        for (int line = 0; line < 5000; ++line) {
            switch (random() % 10) {
            case 0:
                text += "[Sec" + std::to_string(random() % sectionNames) + "]\n";
                break;
            case 1:
                text += "; remark\n";
                break;
            case 2:
                text += "  Key" + std::to_string(random() % keyNames) + " = v" + std::to_string(line) + " ; c\n";
                break;
            case 3:
                text += "Comment = " + std::to_string(line) + ";x\n";
                break;
            default:
                text += "Key" + std::to_string(random() % keyNames) + "=" + std::to_string(line) + "\n";
            }
        }

        ParameterHandler reference;
        std::string current;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = text.find('\n', start);
            const ParsedLine parsed = ParseLine(text.substr(start, end - start));
            start = end + 1;
            if (!parsed.counts) continue;
            if (!parsed.section.empty()) {
                current = parsed.section;
                continue;
            }
            reference.AddParameter(current, parsed.key, parsed.value, parsed.comment, parsed.indented);
        }
        EXPECT_EQ(Dump(FromText(text)), Dump(reference));
    }
}

// A key repeated many times gathers every value, in file order, in one value.
TEST(ReadTextTest, ManyRepeatsOfOneKeyJoinInFileOrder) {
    std::string text = "[S]\n";
    const int repeats = 2000;
    for (int i = 0; i < repeats; ++i) text += "NFSUser = user" + std::to_string(i % 10) + "\n";
    const ParameterHandler handler = FromText(text);
    std::string value;
    ASSERT_TRUE(handler.GetValue("S", "NFSUser", value));
    EXPECT_EQ(value.size(), repeats * std::string("user0").size() + (repeats - 1) * std::string(" ; ").size());
    EXPECT_EQ(value.substr(0, 24), "user0 ; user1 ; user2 ; ");
    EXPECT_EQ(value.substr(value.size() - 13), "user8 ; user9");
}

}  // namespace
