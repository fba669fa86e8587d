#include "memory/joypad.h"

#include <iterator>

#include "machine/registers.h"
#include "memory/memory_map.h"

namespace tov {

key_mapping key_map = default_key_map;

namespace {

struct row_bit {
    joypad_button button;
    uint8_t bit;
};

// Each row in the order its keys are queried.
constexpr row_bit direction_row[] = {
    {button_down, 0x08}, {button_up, 0x04}, {button_left, 0x02}, {button_right, 0x01}};
constexpr row_bit button_row[] = {
    {button_start, 0x08}, {button_select, 0x04}, {button_b, 0x02}, {button_a, 0x01}};

// The bits of the row's buttons whose keys count as pressed.
uint8_t pressed_bits(const row_bit (&row)[4]) {
    uint8_t bits = 0;
    for (const row_bit& entry : row) {
        // Both are queried, so each keeps its own "pressed since" mark.
        const bool key = query_key(key_map[entry.button]);
        const bool controller = query_key(vk_controller_first + entry.button);
        if (key || controller) {
            bits |= entry.bit;
        }
    }
    return bits;
}

}  // namespace

// Only bits 5-4 choose the rows (a clear bit selects); bits 7-6 keep what the
// program wrote. With both rows selected a line reads 0 when its key in
// either row is held; with none, the low nibble reads F and no key is queried.
void read_joypad() {
    const uint8_t selected = io_page[P1] & 0xF0;
    uint8_t pressed = 0;
    if (!(selected & 0x10)) {
        pressed |= pressed_bits(direction_row);
    }
    if (!(selected & 0x20)) {
        pressed |= pressed_bits(button_row);
    }
    io_page[P1] = static_cast<uint8_t>(selected | (~pressed & 0x0F));
}

}  // namespace tov
