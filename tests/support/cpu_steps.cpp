#include "cpu_steps.h"

#include "classic/cpu/cpu.h"
#include "classic/memory/memory_map.h"
#include "machine/cpu_state.h"

namespace tov::test {

void place_code(std::initializer_list<uint8_t> code, int32_t address) {
    PC.value = address;
    for (const uint8_t byte : code) {
        write_byte(address++, byte);
    }
}

void execute_next() {
    execute_opcode(read_byte(PC.value));
    advance_pc(1);
}

void execute_one(std::initializer_list<uint8_t> code) {
    place_code(code);
    execute_next();
}

std::string flag_text() {
    std::string text = "----";
    if (flag_z)
        text[0] = 'Z';
    if (flag_n)
        text[1] = 'N';
    if (flag_h)
        text[2] = 'H';
    if (flag_c)
        text[3] = 'C';
    return text;
}

void set_flags(const std::string& text) {
    flag_z = text[0] == 'Z';
    flag_n = text[1] == 'N';
    flag_h = text[2] == 'H';
    flag_c = text[3] == 'C';
}

}  // namespace tov::test
