#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "TextRules.h"

// Text helpers of the type-string language and the filling of choice lists.
// Texts are byte strings; every comparison is exact unless noted.

// The ";"-separated pieces of a value, each trimmed of white space; empty
// pieces are kept. A value without ";" is one piece.
std::vector<std::string> SplitListItems(std::string_view value);

// Takes the first blank-delimited word off text: returns the text before the
// first blank (all of it when there is none) and leaves in text what follows
// that blank, leading white space removed. "Int 0 65535" gives "Int" and
// leaves "0 65535".
std::string PopWord(std::string& text);

// Takes the next non-empty item off the front of a ";"-separated list. item
// receives the item trimmed of white space; items that are empty or hold only
// white space are skipped. Returns whether an item was found; the list is
// empty once every item has been taken.
bool NextListItem(std::string& list, std::string& item);

// Who fills the list: the configuration pages also offer a placeholder entry
// for values in the XX-XX-XX-XX form, the Quick Installation form does not.
enum class ChoiceListVariant { QuickInstallation, ConfigurationPage };

// The entries of a drop-down choice list and the entry the loading exchange
// selects (-1 when none fits).
struct ChoiceList {
    std::vector<std::string> entries;
    int selected = -1;
};

// The placeholder entry a configuration page offers for typing an address.
inline constexpr std::string_view AddressPlaceholder = "XX-XX-XX-XX";
inline constexpr std::string_view AddressPlaceholderLower = "xx-xx-xx-xx";
// The entry that stands for typing a list of server names.
inline constexpr std::string_view ServerListEntry = "SERVER_LIST";

// True for the entries that stand for typed text rather than a value: the
// address placeholder (either case) and the server list.
bool IsSpecialChoice(std::string_view entry);

// Builds the choice list of a parameter from its comment, current value and
// type string. The choices come from the comment's first word when it
// holds a "/", else from the "{Type Combo ...}" group. A value that no choice
// names is appended so it stays selectable.
ChoiceList FillChoiceList(const std::string& comment, const std::string& value, const std::string& typeSpec,
                          ChoiceListVariant variant);

// The entry a choice list shows for value: the entry equal to value when
// there is one, else the first entry from the top whose text begins with
// value, ASCII letter case ignored; -1 when none. Showing is all it does: a
// list the user has not touched must give back the stored value unchanged,
// even when the entry shown differs from it or none is shown.
int ChoiceEntryFor(const std::vector<std::string>& entries, std::string_view value);
