// The call stack as far as it can be read from SP: the words on the stack
// that are return addresses, each just after a CALL or an RST (RST $38
// aside: its FF is also what empty memory holds).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tov {

bool is_call(uint8_t opcode);    // CALL, CALL cc, RST
bool is_return(uint8_t opcode);  // RET, RET cc, RETI

struct stack_frame {
    uint16_t slot;  // where on the stack the return address lies
    uint16_t returns_to;
    uint16_t call_site;  // the CALL or RST
};

// The frames from SP upward, innermost first, reading at most `words`
// stack words (stopping at FFFF).
std::vector<stack_frame> read_call_stack(uint16_t sp, const std::function<int(uint16_t)>& byte_at,
                                         int words = 64);

}  // namespace tov
