#include "sound/channels.h"

#include "memory/memory_map.h"

namespace tov {

channel_state sound_channels[4];
double last_refill_ms;
uint8_t sound_enabled;
uint8_t channel_enabled[4] = {1, 1, 0, 0};

void write_sound_register(int32_t offset, uint8_t value) {
    io_page[offset] = value;
}

void sound_tick() {}

uint8_t channel_status_bits() {
    uint8_t bits = 0;
    for (int channel = 0; channel < 4; ++channel) {
        if (sound_channels[channel].active) {
            bits |= static_cast<uint8_t>(1 << channel);
        }
    }
    return bits;
}

}  // namespace tov
