#pragma once

#include <string>
#include <string_view>

// How the programs show what they print or display of a share: names as the
// file system gives them, and no character that could forge a line or steer
// a terminal.

// A name from the file system (a file's or folder's name, a path; also a
// system's reason for a failure) as UTF-8 text: valid UTF-8 as it is, each
// byte that is not part of a valid sequence as \xNN (two lower-case hex
// digits). Local file systems, the desktop's SMB mounts and the SMB client
// all give names in UTF-8.
std::string NameText(std::string_view bytes);

// UTF-8 text with its control characters escaped: line feed, carriage
// return and tab as \n, \r and \t, every other one (below blank, DEL, and
// the C1 controls) as \xNN of each of its bytes.
std::string EscapeControls(std::string_view text);

// What a plain listing or a message shows of a name from the file system:
// NameText with its control characters escaped. A name shown without any
// escape is the name itself.
std::string ShownName(std::string_view bytes);

// Server text (Windows-1252 bytes) with its control characters escaped as
// EscapeControls does, for a plain listing; the result is still server text.
std::string EscapeServerControls(std::string_view bytes);
