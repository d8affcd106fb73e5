#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ServerCharset.h"
#include "StringTable.h"
#include "TextRules.h"

namespace {

TEST(TextRules, LetterCaseIsAsciiOnly) {
    struct Case {
        std::string a, b;
        bool equal, less, prefix;
    } cases[] = {
        {"Config", "CONFIG", true, false, true},   {"scsi.ini", "Scsi.INI", true, false, true},
        {"\xE9", "\xC9", false, false, false},     {"a", "B", false, true, false},
        {"B", "a", false, false, false},           {"ADMIN", "admin", true, true, true},  // ties go by the bytes
        {"CDROM1", "cdrom10", false, true, true},  {"", "", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(EqualIgnoringCase(c.a, c.b), c.equal);
        EXPECT_EQ(LessIgnoringCase(c.a, c.b), c.less);
        EXPECT_EQ(StartsWithIgnoringCase(c.b, c.a), c.prefix);
    }
}

// Each byte of the server's files is one character and comes back as
// itself; a character the code page lacks has no byte.
TEST(TextRules, EveryByteIsOneCharacter) {
    std::set<char16_t> characters;
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t character = ServerCharacterOf(static_cast<unsigned char>(byte));
        characters.insert(character);
        EXPECT_EQ(ServerByteOf(character), byte);
    }
    EXPECT_EQ(characters.size(), 256u);
    EXPECT_EQ(ServerCharacterOf(0x80), u'\u20AC');
    EXPECT_EQ(ServerCharacterOf(0x9F), u'\u0178');
    for (const char32_t character : {0x0080u, 0x0100u, 0x4E2Du, 0x1F600u}) EXPECT_EQ(ServerByteOf(character), -1);
}

TEST(TextRules, UpperCaseTakesTheServersCapitals) {
    const std::pair<std::string, std::string> cases[] = {
        {"server_1", "SERVER_1"}, {"\xE9t\xE9", "\xC9T\xC9"}, {"\xF7\xDF\xB5", "\xF7\xDF\xB5"},
        {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"}, {"A-b.9 z", "A-B.9 Z"},
    };
    for (const auto& [text, upper] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ServerUpperCase(text), upper);
    }
}

TEST(TextRules, FormatStringInsertsArgumentsAsText) {
    EXPECT_EQ(FormatString(60002, {"1", "%2"}), "Enter a whole number from 1 to %2.");
    EXPECT_EQ(FormatString(60002, {"7"}), "Enter a whole number from 7 to %2.");
}

}  // namespace
