#include "shell/key_translation.h"

#include "host/keyboard.h"

namespace tov {

int32_t virtual_key(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
        case Qt::Key_Left: return vk_left;
        case Qt::Key_Up: return vk_up;
        case Qt::Key_Right: return vk_right;
        case Qt::Key_Down: return vk_down;
        case Qt::Key_Backspace: return vk_back;
        default: break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int digit = key - Qt::Key_0;
        return (event.modifiers() & Qt::KeypadModifier) ? vk_numpad0 + digit : '0' + digit;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return 'A' + (key - Qt::Key_A);
    }
    return -1;
}

}  // namespace tov
