// tov-headless: runs a cartridge without a window (see --help).
#include <iostream>
#include <string>
#include <vector>

#include "runner.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tov::run_headless(arguments, std::cout, std::cerr);
}
