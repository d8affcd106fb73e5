#pragma once

#include <string_view>

// The control a parameter's row shows, as the word of its "{Type ...}" group
// names it. A parameter without a type string is Unknown, or UnknownCombo
// when its comment offers choices ("yes/no"); a word this program does not
// know is Other, which no control shows.
enum class ControlType {
    Edit,          // an edit box, checked when its value changed
    EditCheck,     // an edit box with a check box; checked, and sent, when ticked
    NoCheck,       // an edit box never checked nor confirmed after a submit
    Combo,         // a drop-down choice list
    Stat,          // read-only text
    Unknown,       // no type string: an edit box, never checked
    UnknownCombo,  // no type string, choices in the comment
    Other,
};

// The control type a type word names; Other for any other word, "" included.
ControlType ControlTypeOf(std::string_view word);

// The types shown in an edit box the user may type into.
constexpr bool IsEditBox(ControlType type) {
    return type == ControlType::Edit || type == ControlType::EditCheck || type == ControlType::NoCheck ||
           type == ControlType::Unknown;
}

constexpr bool IsChoiceList(ControlType type) {
    return type == ControlType::Combo || type == ControlType::UnknownCombo;
}

// The types of parameters that have no type string.
constexpr bool HasNoTypeString(ControlType type) {
    return type == ControlType::Unknown || type == ControlType::UnknownCombo;
}
