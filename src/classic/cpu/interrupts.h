// Interrupt dispatch: once per run-loop step, before the instruction.
#pragma once

namespace tov {

// Enters the handler of the highest-priority interrupt that is both enabled
// (IE) and requested (IF), if IME is set. One interrupt per call.
void dispatch_interrupts();

}  // namespace tov
