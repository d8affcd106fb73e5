#pragma once

#include <string>

// The server's files are Windows-1252 bytes. This maps them for output that
// must be Unicode.

// Each byte as the character Windows-1252 gives it, in UTF-8. The five bytes
// that code page leaves undefined become the C1 control of the same number,
// so the mapping loses nothing.
std::string Cp1252ToUtf8(const std::string& bytes);

