#pragma once

#include <dirent.h>

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
// regard to case. Components that do not exist are kept as written. Only
// folders that lie in folder are looked into for that: a component below a
// link or ".." that leads out of it is kept as written.
std::string SharePath(const std::string& folder, const std::string& relative);
// The same for a folder whose resolved path (links and ".." followed) is
// known already: root.
std::string SharePathWithin(const std::string& root, const std::string& folder, const std::string& relative);

// A path as the system resolves it (links and ".." followed), or "" when
// nothing is there. What it leads to is found without being opened or
// asked for its attributes: on a network share, a name looked up moments
// ago costs no round trip.
std::string Resolved(const std::string& path);
// The same for a path whose end may not exist: its longest existing part
// resolved, the rest appended with "." and ".." taken as written.
std::string WeaklyResolved(const std::string& path);

// Where the object open on descriptor fd lies, links and ".." resolved (as
// the system keeps it for the descriptor); "" when the system cannot say.
std::string WhereIs(int fd);
// True when full, a resolved path, is root or lies below it. The root "/"
// holds every path; an empty root none.
bool LiesWithin(const std::string& root, const std::string& full);
// Opens a folder for listing, provided it lies within root (a resolved
// path): resolved first without opening anything, checked, then that same
// folder opened. Null with errno set otherwise (EXDEV when it lies outside).
DIR* OpenFolderWithin(const std::string& root, const std::string& folder);

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
