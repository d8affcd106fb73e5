#include "ServerCharset.h"

namespace {

// Characters of bytes 0x80..0x9F; the undefined bytes keep their C1 control.
constexpr char16_t upperControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char16_t ServerCharacterOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return upperControls[byte - 0x80];
    return byte;
}

int ServerByteOf(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<int>(character);
    for (int i = 0; i < 32; ++i) {
        if (upperControls[i] == character) return 0x80 + i;
    }
    return -1;
}

unsigned char ServerUpperCaseByte(unsigned char byte) {
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) return byte - 0x20;
    if (byte == 0x9A || byte == 0x9C || byte == 0x9E) return byte - 0x10;  // s and z with caron, oe
    if (byte == 0xFF) return 0x9F;                                           // y with diaeresis
    return byte;
}

std::string ServerUpperCase(std::string bytes) {
    for (char& c : bytes) c = static_cast<char>(ServerUpperCaseByte(static_cast<unsigned char>(c)));
    return bytes;
}
