#pragma once

#include <string>

// The program's string table: every user-visible text by its ID.
// Returns the empty text for an ID the table does not hold.
std::string LoadString(int id);
