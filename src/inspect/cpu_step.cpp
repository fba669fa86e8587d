#include "inspect/cpu_step.h"

#include "core/machine_interface.h"
#include "inspect/view_text.h"
#include "machine/cpu_state.h"

namespace tov {

void execute_first_instruction() {
    machine().debugger_first_step();
}

void step_instruction() {
    machine().debugger_step();
}

std::string next_opcode_text() {
    return formatted("%X", machine().peek(PC.value));
}

}  // namespace tov
