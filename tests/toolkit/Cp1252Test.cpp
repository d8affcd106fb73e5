#include <QSet>

#include <gtest/gtest.h>

#include "Cp1252.h"

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    const QString text = FromServerText(all);
    ASSERT_EQ(text.size(), 256);
    // Each byte is one character, and no two bytes share one.
    EXPECT_EQ(QSet<QChar>(text.begin(), text.end()).size(), 256);
    const auto back = ToServerText(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1252, MapsTheCharactersOfTheCodePage) {
    struct Case {
        unsigned char byte;
        char16_t character;
    } cases[] = {
        {0x41, u'A'},    {0x00, 0x0000},  {0x7F, 0x007F},  {0x80, 0x20AC}, {0x81, 0x0081},
        {0x8D, 0x008D},  {0x8F, 0x008F},  {0x90, 0x0090},  {0x9D, 0x009D}, {0x92, 0x2019},
        {0x9F, 0x0178},  {0xA0, 0x00A0},  {0xE9, 0x00E9},  {0xFF, 0x00FF}, {0x99, 0x2122},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.byte);
        const QString text = FromServerText(std::string(1, static_cast<char>(c.byte)));
        ASSERT_EQ(text.size(), 1);
        EXPECT_EQ(text.at(0).unicode(), c.character);
        EXPECT_EQ(ServerByteOf(c.character), c.byte);
    }
}

TEST(Cp1252, RefusesCharactersWithoutAByte) {
    const QString refused[] = {
        QString(QChar(0x0100)),                  // Latin A with macron
        QString(QChar(0x0080)),                  // the C1 control that 0x80 does not map to
        QString(QChar(0x4E2D)),                  // a CJK ideograph
        QStringLiteral("abc") + QChar(0x2028),   // a line separator after good text
        QString::fromUtf8("\xF0\x9F\x98\x80"),   // a character outside the BMP
    };
    for (const QString& text : refused) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(ToServerText(text).has_value());
        EXPECT_NE(ToServerTextLossy(text).find('?'), std::string::npos);
    }
}

TEST(Cp1252, LossyMappingKeepsTheMappableCharacters) {
    EXPECT_EQ(ToServerTextLossy(QStringLiteral("10") + QChar(0x0100) + QStringLiteral("1")), "10?1");
    EXPECT_EQ(ToServerTextLossy(QString::fromUtf8("\xE2\x82\xAC")), "\x80");
}
