#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "Console.h"
#include "LocaleText.h"

// Runs tessaron-ctl with args (without the program name): results to out,
// messages to err, text in the encoding of `text`, standard input (for
// "format -") from in, when there is one. Returns the exit code.
int RunTessaronCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const LocaleText& text = LocaleText(), std::istream* in = nullptr);
// The same on a console of the caller's (its beforeWrite, say); who connects
// to a share comes from the environment and --user.
int RunTessaronCtl(const std::vector<std::string>& args, Console console);
