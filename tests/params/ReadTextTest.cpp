#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ParameterHandler.h"
#include "StoreDump.h"

namespace {

// One line of a file: a header, a key with value and remark, or nothing.
TEST(ParseLine, BreaksALineIntoItsParts) {
    const struct { std::string line; bool counts; std::string section, key, value, comment; int indented; } cases[] = {
        {"Key=Value", true, "", "Key", "Value", "", 0},
        {"   Key  \t= a=b ; a note ; more ", true, "", "Key", "a=b", "a note ; more", 1},
        {"Inner Blank = v;", true, "", "Inner Blank", "v", "", 1},
        {"\tKey\v= v\f\r", true, "", "Key", "v", "", 0},
        {"[a=b]", true, "", "[a", "b]", "", 0},
        {"=value", true, "", "", "value", "", 0},
        {"Key = a ; b = c", true, "", "Key", "a", "b = c", 0},
        {std::string("K\0y = v\0w", 9), true, "", std::string("K\0y", 3), std::string("v\0w", 3), "", 0},
        // Only the exact key Comment keeps its semicolons.
        {"  Comment = x = y ; z ", true, "", "Comment", "x = y ; z", "", 1},
        {"Comments = a;b", true, "", "Comments", "a", "b", 0},
        {"Comment ; x = y", true, "", "", "", "x = y", 0},
        {"[ Server ] ; main", true, "Server", "", "", "main", 0},
        {"  [ Open  ", true, "Open", "", "", "", 0},
        {"x]y[z", true, "z", "", "", "", 0},
        {"[a]b]", true, "a", "", "", "", 0},
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

// Reading builds the same store as feeding every line through ParseLine and
// AddParameter, the plain definition of reading. Generated files with many
// sections, repeated headers and repeated keys exercise the lookup indexes.
TEST(ReadText, MatchesLineByLineDefinition) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::string text;
        const int sectionNames = 1 + static_cast<int>(random() % 60);
        const int keyNames = 1 + static_cast<int>(random() % 300);
        for (int line = 0; line < 5000; ++line) {
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
        EXPECT_EQ(Dump(FromText(text)), Dump(reference));
    }
}

}  // namespace
