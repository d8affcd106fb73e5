// What a parameter's type string says about its control, its value
// check and its treatment on submit, and the value comparisons the pages use.
#include <string_view>

#include "Parameter.h"
#include "TypeSpec.h"

namespace {

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

}  // namespace

std::string Parameter::GetTypeWord() const {
    static constexpr std::string_view typeGroup = "{Type";
    const size_t start = typeSpec.find(typeGroup);
    if (start == std::string::npos) return contains(comment, "/") ? "UnknownCombo" : "Unknown";
    // The word starts after "{Type" and the blank that follows it.
    const size_t from = start + typeGroup.size() + 1;
    if (from >= typeSpec.size()) return {};
    const size_t end = typeSpec.find_first_of(" }", from);
    return typeSpec.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

ControlType Parameter::GetType() const { return ControlTypeOf(GetTypeWord()); }

std::string Parameter::GetDDV() const {
    static constexpr std::string_view ddvGroup = "{DDV ";
    const size_t start = typeSpec.find(ddvGroup);
    if (start == std::string::npos) return {};
    const size_t from = start + ddvGroup.size();
    const size_t end = typeSpec.find('}', from);
    return typeSpec.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

bool Parameter::IsUpperCase() const { return contains(typeSpec, "{UpperCase}"); }

bool Parameter::IsReadOnly() const { return contains(comment, "Cannot be changed"); }

bool Parameter::IsVerifiedAfterSubmit() const { return !contains(typeSpec, "{NoValidSubmit}"); }

bool Parameter::IsRestartRequest() const { return contains(typeSpec, "{Restart}") && value == "yes"; }

bool Parameter::IsFactoryDefaultRequest() const { return contains(typeSpec, "{FactoryDefault}") && value == "yes"; }

void Parameter::AppendWriteMark() {
    // Stored as is: the mark is for the server, not a value to normalise.
    if (contains(typeSpec, "{Write!}")) value += '!';
}

bool Parameter::HasSameValue(const std::string& other) const {
    std::string mine = value;
    std::string theirs = other;
    while (!mine.empty()) {
        std::string myItem;
        std::string theirItem;
        NextListItem(mine, myItem);
        NextListItem(theirs, theirItem);
        if (myItem != theirItem) return false;
    }
    // Anything left of the other text, even a lone ";", is a difference.
    return theirs.empty();
}

bool Parameter::IsUnchanged(const std::string& other) const {
    // An unticked box means the user did not ask to change this value.
    if (GetType() == ControlType::EditCheck && checkState == 0) return true;
    return HasSameValue(other);
}

bool Parameter::IsConfirmed(const std::string& other) const {
    if (!IsVerifiedAfterSubmit()) return true;
    return HasSameValue(other);
}
