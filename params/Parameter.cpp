#include "Parameter.h"

#include <utility>

Parameter::Parameter(std::string_view key, std::string_view value, std::string_view comment, int indented)
    : key(key), value(value), comment(comment), indented(indented) {}

void Parameter::SetValue(const std::string& text) { value = Normalise(text); }
