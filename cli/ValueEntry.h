#pragma once

#include <ostream>
#include <string>

#include "Parameter.h"

// Takes a value given on the command line for a parameter the way the
// parameter's row on a configuration page takes typed text (TakeTypedText),
// or, for a choice list, matches it against the list's choices. What no row
// could be given is refused here: a line break, or (set) a read-only value.

enum class EntryPurpose {
    Check,  // "check": the text typed into an edit box; always checked
    Set,    // "set": a new value for a stored parameter; read-only ones refused
};

// On success stores the value the parameter would take in value and returns
// true. On refusal writes the reason (the program's message) to err and
// returns false. loaded is the parameter as stored (for Check: a parameter
// with the type string and comment to check against, value empty).
bool TakeEnteredValue(const Parameter& loaded, const std::string& text, EntryPurpose purpose, std::ostream& err,
                      std::string& value);

