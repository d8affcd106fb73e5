#pragma once

#include <string>

// The server's files are Windows-1252 bytes. The mapping is lossless: each
// byte is one character and back; the five bytes the code page leaves
// undefined map to the C1 control of the same number.

// The Unicode character of a byte.
char16_t ServerCharacterOf(unsigned char byte);

// The byte of a Unicode character, or -1 when the code page has none.
int ServerByteOf(char32_t character);

// The byte an upper-case edit box makes of a typed byte: the capital of a
// lower-case letter where the code page has one; any other byte, including
// letters without a capital there (such as the sharp s), stays.
unsigned char ServerUpperCaseByte(unsigned char byte);
// The text with ServerUpperCaseByte applied to every byte.
std::string ServerUpperCase(std::string bytes);
