#include "inspect/call_stack.h"

namespace tov {

namespace {

constexpr uint8_t call_opcodes[] = {0xCD, 0xC4, 0xCC, 0xD4, 0xDC};
constexpr uint8_t return_opcodes[] = {0xC9, 0xD9, 0xC0, 0xC8, 0xD0, 0xD8};

bool is_rst(int opcode) {
    return opcode >= 0 && (opcode & 0xC7) == 0xC7;
}

bool listed(int opcode, const uint8_t* first, const uint8_t* end) {
    for (const uint8_t* entry = first; entry != end; ++entry) {
        if (*entry == opcode) {
            return true;
        }
    }
    return false;
}

bool is_call_opcode(int opcode) {
    return listed(opcode, std::begin(call_opcodes), std::end(call_opcodes));
}

}  // namespace

bool is_call(uint8_t opcode) {
    return is_call_opcode(opcode) || is_rst(opcode);
}

bool is_return(uint8_t opcode) {
    return listed(opcode, std::begin(return_opcodes), std::end(return_opcodes));
}

std::vector<stack_frame> read_call_stack(uint16_t sp, const std::function<int(uint16_t)>& byte_at,
                                         int words) {
    std::vector<stack_frame> frames;
    for (int word = 0; word < words && sp + 2 * word + 1 <= 0xFFFF; ++word) {
        const uint16_t slot = static_cast<uint16_t>(sp + 2 * word);
        const int low = byte_at(slot);
        const int high = byte_at(static_cast<uint16_t>(slot + 1));
        if (low < 0 || high < 0) {
            continue;
        }
        const uint16_t returns_to = static_cast<uint16_t>(high << 8 | low);
        if (is_call_opcode(byte_at(static_cast<uint16_t>(returns_to - 3)))) {
            frames.push_back({slot, returns_to, static_cast<uint16_t>(returns_to - 3)});
        } else if (const int before = byte_at(static_cast<uint16_t>(returns_to - 1));
                   before != 0xFF && is_rst(before)) {  // FF is also what empty memory holds
            frames.push_back({slot, returns_to, static_cast<uint16_t>(returns_to - 1)});
        }
    }
    return frames;
}

}  // namespace tov
