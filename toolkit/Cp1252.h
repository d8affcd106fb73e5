#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

#include "ServerCharset.h"

// The one mapping between server text (bytes, as the store keeps it) and the
// text the widgets show: Windows-1252, made lossless. Every byte maps to one
// character and back; the five bytes 1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control characters of the same number. Windows
// use FromServerText to show a value and ToServerText to take one back.

QString FromServerText(std::string_view bytes);
// A text of the program's string table, as the windows show it.
QString LoadText(int stringId);

// The bytes of text, or nothing when a character has no byte in the mapping.
std::optional<std::string> ToServerText(const QString& text);

// As ToServerText, with "?" for every character that has no byte. For texts
// that only need to be compared or checked, never for values to be written.
std::string ToServerTextLossy(const QString& text);

