#include "inspect/register_values.h"

#include "machine/cpu_state.h"

namespace tov {

register_values machine_registers() {
    return {static_cast<uint16_t>(A << 8 | packed_flags()),
            static_cast<uint16_t>(BC.value),
            static_cast<uint16_t>(DE.value),
            static_cast<uint16_t>(HL.value),
            static_cast<uint16_t>(SP.value),
            static_cast<uint16_t>(PC.value),
            halted != 0};
}

std::optional<register_reading> read_register(std::string_view name, const register_values& r) {
    const struct {
        std::string_view name;
        register_reading reading;
    } registers[] = {
        {"A", {r.af >> 8, 2}},   {"F", {r.af & 0xFF, 2}}, {"B", {r.bc >> 8, 2}},
        {"C", {r.bc & 0xFF, 2}}, {"D", {r.de >> 8, 2}},   {"E", {r.de & 0xFF, 2}},
        {"H", {r.hl >> 8, 2}},   {"L", {r.hl & 0xFF, 2}}, {"AF", {r.af, 4}},
        {"BC", {r.bc, 4}},       {"DE", {r.de, 4}},       {"HL", {r.hl, 4}},
        {"SP", {r.sp, 4}},       {"PC", {r.pc, 4}},
    };
    for (const auto& entry : registers) {
        if (entry.name == name) {
            return entry.reading;
        }
    }
    return std::nullopt;
}

}  // namespace tov
