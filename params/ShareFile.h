#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "Share.h"

// The files of a server's share as text. Paths below the share are written
// as the server names them ("\Config\Config.ini"); every component is
// matched without regard to case, as the appliance's share does. Files are
// read and written in text mode: a carriage return directly before a line
// feed is dropped on reading (every other byte, NUL included, is kept), and
// each line feed is written as carriage return and line feed.

// Joins a folder and a relative path such as "\Config\Config.ini":
// backslashes become slashes and each existing component is resolved without
// regard to case. Components that do not exist are kept as written.
std::string SharePath(const std::string& folder, const std::string& relative);

// The text of a file's bytes.
std::string TextOfBytes(std::string bytes);
// The same text handed to consume in pieces that each end at a line end
// (only the last may end without one), so that a large file is never held
// twice.
void ForEachTextPiece(std::string_view bytes, const std::function<void(std::string_view)>& consume);
// The bytes of a text.
std::string BytesOfText(const std::string& text);

// What follows new bytes, in the same single write, over a file that held
// oldSize bytes: blank lines up to the old length. Cut off there, by a crash
// or a power cut before the file is shortened, the file still reads as the
// new text, never as the new text followed by the old one's tail.
std::string WritePadding(size_t newSize, size_t oldSize);

// The whole text of a file of the share. Raises FileException.
std::string ReadTextFile(const Share& share, const std::string& path);
