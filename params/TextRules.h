#pragma once

#include <string>
#include <string_view>
#include <vector>

// The few text rules every part of the program shares. Server text is bytes;
// letter case is compared for ASCII letters only, the same on every machine
// and in every locale, as the appliance compares names.

// White space of the file grammar and the value rules: blank, tab, line
// feed, vertical tab, form feed, carriage return.
inline constexpr std::string_view WhiteSpace = " \t\n\v\f\r";

constexpr bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// text without white space at either end.
std::string TrimWhiteSpace(std::string_view text);
std::string_view TrimmedView(std::string_view text);

// ASCII letters compared without regard to case; every other byte exactly.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
// Byte-wise order without regard to ASCII case, ties broken by the bytes,
// so that a listing comes out the same on every file system.
bool LessIgnoringCase(std::string_view a, std::string_view b);

// The non-empty parts of text between any of the separator characters.
std::vector<std::string> SplitPathComponents(const std::string& text, const std::string& separators);
