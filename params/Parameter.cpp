#include "Parameter.h"

#include <utility>

Parameter::Parameter(std::string key, std::string value, std::string comment, int indented)
    : key(std::move(key)), value(std::move(value)), comment(std::move(comment)), indented(indented) {}

void Parameter::SetValue(const std::string& text) { value = Normalise(text); }
