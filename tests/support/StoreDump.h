#pragma once

#include <string>

#include "ParameterHandler.h"

// The handler's sections as text, one line per section and per parameter:
// "[name]" then "key=value|comment|indented". Makes whole stores comparable.
inline std::string Dump(const ParameterHandler& handler) {
    std::string out;
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& section = handler.SectionAt(s);
        out += "[" + section.GetName() + "]\n";
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            const Parameter& parameter = section.ParameterAt(p);
            out += parameter.GetKey() + "=" + parameter.GetValue() + "|" + parameter.GetComment() + "|" +
                   std::to_string(parameter.GetIndented()) + "\n";
        }
    }
    return out;
}

inline ParameterHandler FromText(const std::string& text) {
    ParameterHandler handler;
    handler.ReadText(text);
    return handler;
}
