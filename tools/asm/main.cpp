// tov-asm: assembles a cartridge image from source.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "assembler.h"

int main(int argc, char** argv) {
    if (argc != 4 || std::string(argv[2]) != "-o") {
        std::fprintf(stderr, "Usage: tov-asm SOURCE -o IMAGE\n");
        return 2;
    }
    std::ifstream input(argv[1]);
    if (!input) {
        std::fprintf(stderr, "tov-asm: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream source;
    source << input.rdbuf();
    const tov::assembler::assembly result = tov::assembler::assemble(source.str());
    for (const std::string& error : result.errors) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    }
    if (!result.ok()) {
        return 1;
    }
    std::ofstream output(argv[3], std::ios::binary | std::ios::trunc);
    output.write(reinterpret_cast<const char*>(result.image.data()),
                 static_cast<std::streamsize>(result.image.size()));
    if (!output) {
        std::fprintf(stderr, "tov-asm: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
