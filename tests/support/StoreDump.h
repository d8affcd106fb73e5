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

// Text with line ends and control bytes spelled out, for test names.
inline std::string Escaped(const std::string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c >= 0x7f) {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

inline ParameterHandler FromText(const std::string& text) {
    ParameterHandler handler;
    handler.ReadText(text);
    return handler;
}
