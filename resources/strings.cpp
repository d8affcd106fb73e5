#include "StringTable.h"

#include <unordered_map>

// Placeholder: the full table lands with the string-table work.
std::string LoadString(int id) {
    static const std::unordered_map<int, std::string> table = {
#ifdef TESSARON_OEM_BUILD
        {102, "JQ"},
#else
        {102, "Quor"},
#endif
        {137, "QUOR Tessaron Configuration"},
        {138, "JQ CD-ROM Server Utility"},
        // Prompts of the length and range checks; %1, %2 stand for the limits.
        {60001, "The value may hold at most %1 characters."},
        {60002, "Enter a whole number from %1 to %2."},
    };
    auto it = table.find(id);
    return it == table.end() ? std::string() : it->second;
}
