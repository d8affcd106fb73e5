#pragma once

#include <string>

// The server's files are Windows-1252 bytes. These helpers map them for
// output that must be Unicode and imitate what an upper-case edit box does to
// typed text.

// Each byte as the character Windows-1252 gives it, in UTF-8. The five bytes
// that code page leaves undefined become the C1 control of the same number,
// so the mapping loses nothing.
std::string Cp1252ToUtf8(const std::string& bytes);

// The text with every lower-case letter of the code page turned into its
// capital, as an upper-case edit box turns typed letters; letters without a
// capital in the code page (such as the sharp s) stay.
std::string Cp1252UpperCase(const std::string& bytes);
