#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "StringTable.h"
#include "TessaronCtl.h"

// One run of tessaron-ctl in-process, with its streams captured.
struct CtlResult {
    int code;
    std::string out;
    std::string err;
};

inline CtlResult RunCtl(const std::vector<std::string>& args, const LocaleText& text = LocaleText(),
                        const std::string& input = "") {
    std::ostringstream out, err;
    std::istringstream in(input);
    const int code = RunTessaronCtl(args, out, err, text, &in);
    return {code, out.str(), err.str()};
}

// A command run on a share: args are the command, then what follows SHARE.
inline CtlResult RunOn(const std::string& share, std::vector<std::string> args) {
    args.insert(args.begin() + 1, share);
    return RunCtl(args);
}

// A string-table text as the program prints it, one message to a line.
inline std::string Said(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids) text += LoadString(id) + "\n";
    return text;
}
