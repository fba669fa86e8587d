// The data bytes an instruction is about to read or write, told from its
// bytes and the registers before it runs, so that the debugger's watchpoints
// can stop before the access without the run loops watching the bus.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "inspect/register_values.h"

namespace tov {

struct memory_access {
    uint16_t address;
    bool write;

    bool operator==(const memory_access&) const = default;
};

// The accesses of the instruction at `pc`, its reads before its writes; the
// opcode and its immediates are not data and not listed. byte_at gives the
// byte at an address, or a value outside 0-255 for one that cannot be read.
// A conditional CALL or RET lists its stack accesses only when F meets its
// condition.
std::vector<memory_access> instruction_accesses(uint16_t pc,
                                                const std::function<int(uint16_t)>& byte_at,
                                                const register_values& r);

}  // namespace tov
