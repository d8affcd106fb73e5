#include <QSet>

#include <gtest/gtest.h>

#include "Cp1252.h"

// Every byte the server wrote is one character and comes back as itself.
TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    const QString text = FromServerText(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(QSet<QChar>(text.begin(), text.end()).size(), 256);
    EXPECT_EQ(ToServerText(text), all);
    const std::pair<unsigned char, char16_t> cases[] = {
        {0x80, 0x20AC}, {0x81, 0x0081}, {0x9D, 0x009D}, {0x92, 0x2019}, {0x9F, 0x0178}, {0xE9, 0x00E9},
    };
    for (const auto& [byte, character] : cases) {
        EXPECT_EQ(FromServerText(std::string(1, static_cast<char>(byte))).at(0).unicode(), character) << int(byte);
        EXPECT_EQ(ServerByteOf(character), byte) << int(byte);
    }
}

// A character without a byte is refused, or written as "?" where a loss is acceptable.
TEST(Cp1252, RefusesCharactersWithoutAByte) {
    for (const char16_t character : {char16_t(0x0100), char16_t(0x0080), char16_t(0x4E2D), char16_t(0x2028)}) {
        const QString text = QStringLiteral("10") + QChar(character) + QStringLiteral("1");
        EXPECT_FALSE(ToServerText(text).has_value()) << int(character);
        EXPECT_EQ(ToServerTextLossy(text), "10?1") << int(character);
    }
    EXPECT_FALSE(ToServerText(QString::fromUtf8("\xF0\x9F\x98\x80")).has_value());  // outside the BMP
}
