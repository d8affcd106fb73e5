#include "ControlType.h"

#include <array>
#include <utility>

ControlType ControlTypeOf(std::string_view word) {
    static constexpr std::array<std::pair<std::string_view, ControlType>, 7> words = {{
        {"Edit", ControlType::Edit},
        {"EditCheck", ControlType::EditCheck},
        {"NoCheck", ControlType::NoCheck},
        {"Combo", ControlType::Combo},
        {"Stat", ControlType::Stat},
        {"Unknown", ControlType::Unknown},
        {"UnknownCombo", ControlType::UnknownCombo},
    }};
    for (const auto& [name, type] : words) {
        if (name == word) return type;
    }
    return ControlType::Other;
}
