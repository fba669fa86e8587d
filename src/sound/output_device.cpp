#include "sound/output_device.h"

#include "core/machine.h"
#include "host/window.h"
#include "shell/command_ids.h"
#include "sound/channels.h"

namespace tov {

void start_playback() {
    if (rom_loaded != 1) {
        return;
    }
    emulation_running = 1;
}

void stop_playback() {
    emulation_running = 0;
}

void toggle_sound() {
    sound_enabled = sound_enabled == 1 ? 0 : 1;
    window().check_menu_item(id_sound_enable, sound_enabled == 1);
}

void toggle_channel(int channel) {
    if (channel < 1 || channel > 4) {
        return;
    }
    uint8_t& enabled = channel_enabled[channel - 1];
    enabled = enabled ? 0 : 1;
    window().check_menu_item(id_channel_0 + channel - 1, enabled == 1);
}

}  // namespace tov
