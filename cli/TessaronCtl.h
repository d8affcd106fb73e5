#pragma once

#include <ostream>
#include <string>
#include <vector>

// Runs tessaron-ctl with args (without the program name): results to out,
// messages to err. Returns the exit code.
int RunTessaronCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
