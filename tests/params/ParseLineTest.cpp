#include <gtest/gtest.h>

#include <string>

#include "ParameterHandler.h"
#include "StoreDump.h"

namespace {

struct LineCase {
    std::string line;
    bool counts;
    std::string section;
    std::string key;
    std::string value;
    std::string comment;
    int indented;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << '"' << Escaped(c.line) << '"'; }

class ParseLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ParseLineTest, BreaksLineIntoItsParts) {
    const LineCase& c = GetParam();
    const ParsedLine parsed = ParseLine(c.line);
    EXPECT_EQ(parsed.counts, c.counts);
    EXPECT_EQ(parsed.section, c.section);
    EXPECT_EQ(parsed.key, c.key);
    EXPECT_EQ(parsed.value, c.value);
    EXPECT_EQ(parsed.comment, c.comment);
    EXPECT_EQ(parsed.indented, c.indented);
}

INSTANTIATE_TEST_SUITE_P(
    KeyLines, ParseLineTest,
    testing::Values(
        LineCase{"Key=Value", true, "", "Key", "Value", "", 0},
        LineCase{"Key = Value", true, "", "Key", "Value", "", 0},
        LineCase{"   Key = Value ; a note ", true, "", "Key", "Value", "a note", 1},
        LineCase{"Inner Blank = v", true, "", "Inner Blank", "v", "", 1},
        LineCase{"\tKey = v", true, "", "Key", "v", "", 0},
        LineCase{"Key  \t= v", true, "", "Key", "v", "", 0},
        LineCase{"Key = a=b", true, "", "Key", "a=b", "", 0},
        LineCase{"[a=b]", true, "", "[a", "b]", "", 0},
        LineCase{"[Sec] = 1", true, "", "[Sec]", "1", "", 0},
        LineCase{"Key = v ; c1 ; c2", true, "", "Key", "v", "c1 ; c2", 0},
        LineCase{"Key = v;", true, "", "Key", "v", "", 0},
        LineCase{"Key =   ", true, "", "Key", "", "", 0},
        LineCase{"Key = v\r", true, "", "Key", "v", "", 0},
        LineCase{"Key\v= v\f", true, "", "Key", "v", "", 0},
        LineCase{"=value", true, "", "", "value", "", 0},
        LineCase{"Key = a ; b = c", true, "", "Key", "a", "b = c", 0},
        LineCase{std::string("K\0y = v\0w", 9), true, "", std::string("K\0y", 3), std::string("v\0w", 3), "", 0}));

INSTANTIATE_TEST_SUITE_P(
    FreeTextKey, ParseLineTest,
    testing::Values(LineCase{"Comment = a; b ;c ", true, "", "Comment", "a; b ;c", "", 0},
                    LineCase{"Comment=", true, "", "Comment", "", "", 0},
                    LineCase{"Comment = ;x", true, "", "Comment", ";x", "", 0},
                    LineCase{"  Comment = a;b", true, "", "Comment", "a;b", "", 1},
                    LineCase{"Comment = x = y ; z", true, "", "Comment", "x = y ; z", "", 0},
                    // Only the exact key keeps its semicolons.
                    LineCase{"Comments = a;b", true, "", "Comments", "a", "b", 0},
                    LineCase{"comment = a;b", true, "", "comment", "a", "b", 0},
                    // The equals sign after the semicolon does not make a key.
                    LineCase{"Comment ; x = y", true, "", "", "", "x = y", 0}));

INSTANTIATE_TEST_SUITE_P(
    Headers, ParseLineTest,
    testing::Values(LineCase{"[Server]", true, "Server", "", "", "", 0},
                    LineCase{"[ Server ] ; main", true, "Server", "", "", "main", 0},
                    LineCase{"  [Name]", true, "Name", "", "", "", 0},
                    LineCase{"[Server", true, "Server", "", "", "", 0},
                    LineCase{"[ Open  ", true, "Open", "", "", "", 0},
                    LineCase{"ab[cd]ef", true, "cd", "", "", "", 0},
                    LineCase{"x]y[z", true, "z", "", "", "", 0},
                    LineCase{"[[x]", true, "[x", "", "", "", 0},
                    LineCase{"[a]b]", true, "a", "", "", "", 0},
                    LineCase{"[Sec;tion]", true, "Sec", "", "", "tion]", 0},
                    // Nothing between the brackets: an empty parameter.
                    LineCase{"[]", true, "", "", "", "", 0},
                    LineCase{"[ \t ]", true, "", "", "", "", 0}));

INSTANTIATE_TEST_SUITE_P(
    OtherLines, ParseLineTest,
    testing::Values(LineCase{"", false, "", "", "", "", 0},
                    LineCase{"  \t\r", false, "", "", "", "", 0},
                    LineCase{"; only a remark", false, "", "", "", "", 0},
                    LineCase{"   ; indented remark = x", false, "", "", "", "", 0},
                    LineCase{";", false, "", "", "", "", 0},
                    // A line with neither equals sign nor bracket still counts.
                    LineCase{"QUOR Tessaron CD V3.02 S/N: 1234", true, "", "", "", "", 0},
                    LineCase{"word ; note", true, "", "", "", "note", 0}));

}  // namespace
