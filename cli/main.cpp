#include <iostream>
#include <string>
#include <vector>

#include "TessaronCtl.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = RunTessaronCtl(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
