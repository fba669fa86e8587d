// Host keys as the virtual-key codes the joypad mapping uses.
#pragma once

#include <QKeyEvent>
#include <cstdint>

namespace tov {

// The virtual-key code of a key event: the arrows, Backspace, A-Z, 0-9 and the keypad
// digits; -1 for any other key.
int32_t virtual_key(const QKeyEvent& event);

}  // namespace tov
