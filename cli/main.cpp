#include <clocale>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "TessaronCtl.h"

int main(int argc, char** argv) {
    // A file-size limit must fail a write (which then puts the old bytes
    // back), not kill the program half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
    std::setlocale(LC_CTYPE, "");
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = RunTessaronCtl(args, std::cout, std::cerr, LocaleText::OfEnvironment(), &std::cin);
    std::cout.flush();
    return code;
}
