#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "LocaleText.h"

// Runs tessaron-ctl with args (without the program name): results to out,
// messages to err, text in the encoding of `text`. Returns the exit code.
int RunTessaronCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const LocaleText& text = LocaleText());
