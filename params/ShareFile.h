#pragma once

#include <functional>
#include <string>
#include <string_view>

// Access to the files of a server's share. Paths below the share are written
// as the server names them ("\Config\Config.ini"); every component is matched
// without regard to case, as the appliance's share does. Every failure to open
// a file, and a file another process holds locked, raises FileException.

// Joins the server path and a relative path such as "\Config\Config.ini":
// backslashes become slashes and each existing component is resolved without
// regard to case. Components that do not exist are kept as written.
std::string SharePath(const std::string& serverPath, const std::string& relative);

// The whole file read in text mode, under an exclusive lock: each carriage
// return directly before a line feed is dropped; all other bytes (NUL
// included) are kept.
std::string ReadTextFile(const std::string& path);

// The same text as ReadTextFile, handed to consume in pieces that each end
// at a line end (only the last may end without one), so a large file is
// never held whole. Raises FileException as ReadTextFile does.
void ReadTextFileInPieces(const std::string& path, const std::function<void(std::string_view)>& consume);

// The first line of the file in text mode, without its line end. False when
// the file holds no line at all (it is empty).
bool ReadFirstLine(const std::string& path, std::string& line);

// Replaces the contents of an existing file with text, each line feed written
// as carriage return and line feed, under an exclusive lock. Never creates a
// file. When writing fails part-way the previous bytes are put back.
void WriteTextFile(const std::string& path, const std::string& text);
