#pragma once

#include <string>

// Opens a folder in the desktop's file manager (through the application's
// URL opener, which tests replace). False when the folder does not exist or
// the desktop could not open it. The path is a local path in the program's
// character set.
bool OpenFolder(const std::string& path);
