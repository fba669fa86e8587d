// The desktop program. Its window is not built yet: for now it checks the
// cartridge it is given and prints what it found.
#include <cstdio>
#include <string>

#include "memory/cartridge.h"
#include "memory/cartridge_info.h"

namespace {

void print_usage() {
    std::printf(
        "TOV Version 0.9.7 - a Game Boy and Game Boy Color emulator\n"
        "\n"
        "Usage: tov [ROM]\n"
        "\n"
        "  ROM   a cartridge image (.gb or .gbc) to load\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        print_usage();
        return 0;
    }
    const std::string argument = argv[1];
    if (argument == "-h" || argument == "--help") {
        print_usage();
        return 0;
    }
    tov::rom_path = argument;
    std::string reason;
    if (!tov::load_cartridge(&reason)) {
        std::fprintf(stderr, "tov: %s\n", reason.c_str());
        return 1;
    }
    for (const char* (*describe)() :
         {tov::describe_title, tov::describe_colour, tov::describe_type, tov::describe_rom_size,
          tov::describe_ram_size, tov::describe_destination}) {
        std::printf("%s\n", describe());
    }
    return 0;
}
