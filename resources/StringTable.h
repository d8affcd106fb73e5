#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The program's string table: every user-visible text by its ID.
// Returns the empty text for an ID the table does not hold.
std::string LoadString(int id);

// The text of id with "%1", "%2", ... replaced by the arguments in order. An
// argument is inserted as it is: text from the server is never read as a
// pattern. A mark without an argument stays.
std::string FormatString(int id, std::initializer_list<std::string_view> arguments);
