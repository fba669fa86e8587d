#include "session/session.h"

#include <algorithm>
#include <filesystem>

#include "accurate/machine/accurate_machine.h"
#include "accurate/timer/serial.h"
#include "apu/apu.h"
#include "apu/mixer.h"
#include "audio/sound_output.h"
#include "cheats/code_effects.h"
#include "classic/machine/classic_machine.h"
#include "host/files.h"
#include "host/keyboard.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/shell_flags.h"
#include "machine/timing.h"
#include "memory/cartridge.h"
#include "persist/cartridge_save.h"
#include "persist/config.h"
#include "persist/save_failures.h"
#include "run/frame_driver.h"
#include "session/cheat_list.h"
#include "session/developer.h"
#include "session/palette.h"
#include "session/rewind.h"
#include "sound/channels.h"
#include "sound/output_device.h"
#include "stream/sound_recording.h"

namespace tov {

namespace {

// Where the cycle-timed sound goes: the device's stream, a recording, or
// null, nowhere.
sample_sink* accurate_output;
std::unique_ptr<sound_recording> recording;  // kept in place of playing

model_choice chosen_model = model_choice::automatic;

// The user's "Accurate sound" choice; the accurate machine always plays the
// accurate sound and gives the choice back when it is left.
bool accurate_sound_chosen;

// Whether the game runs backwards now: its control is held.
bool going_back;

// A state file is at most this long; an accurate machine's is about 100 KiB.
constexpr std::size_t longest_state_file = 1 << 20;

std::string loaded_name;

// What reading the cartridge's cheat codes had to say.
std::string cheat_note;

// The archive's own name is enough while it holds one cartridge, so that its
// files keep the names they had; it is also the name when the entries cannot
// be listed again, the cartridge being loaded already.
std::string name_of_cartridge(const std::string& path, const std::string& entry) {
    std::string name = std::filesystem::path(path).filename().string();
    std::vector<std::string> entries;
    if (entry.empty() || !list_cartridge_entries(path, entries).ok || entries.size() < 2) {
        return name;
    }
    std::string label = entry;
    std::replace(label.begin(), label.end(), '/', '_');
    return name + "#" + label;
}

// What of the sound is heard, decided once per frame: the voices while
// the game runs forwards at normal speed, or instead the cycle-timed sound,
// which also needs sound on, the game running and the frames paced. The
// cycle-timed sound is synthesized only while it is heard; its sink fades
// in and out as that changes.
void follow_sound() {
    const bool forwards = fast_forward == 0 && !going_back;
    set_voices_heard(forwards && accurate_sound == 0);
    const bool streamed =
        forwards && accurate_sound == 1 && sound_enabled == 1 && emulating() && full_throttle == 0;
    set_sample_sink(streamed ? accurate_output : nullptr);
    if (accurate_output) {
        accurate_output->set_heard(streamed);
    }
}

// The cartridge just loaded, taken up by the machine in use, with the
// cartridge's RAM kept for a reset.
void start_machine(bool keep_cartridge_ram) {
    machine().power_on(chosen_model, keep_cartridge_ram);
    patch_loaded_rom();
}

result power_on(bool keep_cartridge_ram) {
    const result loaded = load_cartridge();
    if (loaded.ok) {
        start_machine(keep_cartridge_ram);
    }
    return loaded;
}

void follow_sound_model() {
    const bool on = machine().cycle_timed_sound_only || accurate_sound_chosen;
    if (on && !accurate_sound) {
        apu_restart(channel_status_bits());
    }
    accurate_sound = on ? 1 : 0;
}

// The start of each frame's vertical blank: the frame's sound handed on,
// the cheat codes' writes, then the rewind's state kept or shown.
void at_frame_end() {
    flush_frames();
    if (has_cheat_values()) {
        write_cheat_values();
    }
    going_back = control_held(control_rewind);
    rewind_at_frame_end(going_back);
}

// The machine whose state `image` is, or null: the accurate machine's
// states carry a mark, TOV's own are told by their size.
const machine_interface* owner_of_state(std::string_view image) {
    for (const machine_interface* candidate : {&accurate_machine, &classic_machine}) {
        if (candidate->owns_state(image)) {
            return candidate;
        }
    }
    return nullptr;
}

}  // namespace

// TOV's own machine runs until another is chosen.
void start_session(std::unique_ptr<audio_backend> audio) {
    use_machine(classic_machine);
    open_sound_output(std::move(audio));
    set_accurate_sound_output(played_stream());
    rom_loaded = 0;
    emulation_running = 0;
    skip_counter = 0;
}

void end_session() {
    set_accurate_sound_output(nullptr);
    recording.reset();
    close_sound_output();
}

cartridge_listing list_cartridges(const std::string& path) {
    cartridge_listing listing;
    listing.outcome = list_cartridge_entries(path, listing.entries);
    return listing;
}

result open_cartridge(const std::string& path, const std::string& entry) {
    const result loaded = load_cartridge_file(path, entry);
    if (!loaded.ok) {
        return loaded;
    }
    forget_cheat_codes();
    forget_rewind();
    at_vertical_blank = at_frame_end;
    start_machine(false);
    loaded_name = name_of_cartridge(rom_path, rom_entry);
    cheat_note = read_cheat_list();
    rom_loaded = 1;
    emulation_running = 1;
    return {};
}

result close_cartridge() {
    stop();
    result saved;
    if (rom_loaded == 1) {
        saved = write_battery_file();
    }
    rom_loaded = 0;
    emulation_running = 0;
    forget_rewind();
    return saved;
}

result reset_cartridge() {
    silence_squares();
    if (rom_loaded != 1) {
        return {};
    }
    return power_on(true);
}

bool cartridge_loaded() {
    return rom_loaded == 1;
}

const std::string& cartridge_path() {
    return rom_path;
}

const std::string& cartridge_name() {
    return loaded_name;
}

bool emulating() {
    return rom_loaded == 1 && emulation_running == 1;
}

std::string cartridge_note() {
    const std::string note = machine().cartridge_note();
    return note.empty() ? cheat_note : note;
}

bool cartridge_rumbling() {
    return emulating() && machine().rumbling();
}

result write_battery_file() {
    return machine().write_battery(loaded_name);
}

result read_battery_file() {
    return machine().read_battery(loaded_name);
}

result import_battery_file(const std::string& path) {
    if (rom_loaded != 1) {
        return {false, "Open a cartridge first: a battery file is imported into its save."};
    }
    const result imported = import_battery(path);
    if (!imported.ok) {
        return imported;
    }
    // The game reads its save when it starts, as after a reset.
    return power_on(true);
}

result export_battery_file(const std::string& path) {
    if (rom_loaded != 1) {
        return {false, "Open a cartridge first: its save is what is exported."};
    }
    return export_battery(path);
}

std::string state_bytes() {
    return state_in_greys(machine().state_image);
}

// A state of the other machine's kind is refused, so that nothing changes.
result load_state_bytes(std::string_view image) {
    const machine_interface* owner = owner_of_state(image);
    if (owner && owner != &machine()) {
        return failure(owner->state_hint);
    }
    const result restored = machine().restore_state(image);
    if (restored.ok) {
        reapply_palette();
    }
    return restored;
}

result save_state_file(const std::string& path) {
    return saving_state(write_file_atomically(path, state_bytes()));
}

result load_state_file(const std::string& path) {
    const file_head file = read_file_head(path, longest_state_file);
    if (!file.outcome.ok) {
        return loading_state(file.outcome);
    }
    return taking_up_state(path, load_state_bytes(file.content));
}

void run_timer_message() {
    follow_sound();
    if (watching()) {
        frame_tick(run_watched_frame);
        return;
    }
    frame_tick(machine().run_slice);
}

void end_timer_message() {
    machine().end_slice();
}

uint64_t frames_emulated() {
    return frame_counter;
}

void run_frames(uint64_t frames, const std::function<void(uint64_t done)>& after_frame) {
    for (uint64_t done = 1; done <= frames; ++done) {
        follow_sound();
        machine().run_frame();
        after_frame(done);
    }
}

void resume() {
    start_playback();
}

// No frame may come to fade the sound out, so it is decided now.
void stop() {
    stop_playback();
    follow_sound();
}

void let_emulation_run() {
    if (rom_loaded == 1) {
        emulation_running = 1;
    }
}

run_options current_options() {
    run_options options{};
    options.frame_skip = frame_skip;
    options.full_throttle = full_throttle == 1;
    options.timer_enabled = timer_option == 1;
    options.timing = timing_variant + 1;
    options.zoom = zoom;
    options.sound_enabled = sound_enabled == 1;
    for (int channel = 0; channel < 4; ++channel) {
        options.channel_enabled[channel] = channel_enabled[channel] == 1;
    }
    options.fast_forward = fast_forward == 1;
    options.fast_forward_speed = fast_forward_speed;
    options.accurate_sound = accurate_sound == 1;
    options.accurate_machine = &machine() == &accurate_machine;
    options.model = chosen_model;
    return options;
}

void set_fast_forward(bool on) {
    fast_forward = on ? 1 : 0;
}

void set_fast_forward_speed(int speed) {
    if (speed == 0 || (speed >= 2 && speed <= 4)) {
        fast_forward_speed = speed;
    }
}

bool rewinding() {
    return going_back;
}

void set_frame_skip(int frames) {
    if (frames >= 0 && frames <= 3) {
        frame_skip = static_cast<uint8_t>(frames);
    }
}

void set_full_throttle(bool on) {
    full_throttle = on ? 1 : 0;
}

void set_timer_enabled(bool on) {
    timer_option = on ? 1 : 0;
    if (!on) {
        timer_running = 0;
    }
}

void set_timing(int variant) {
    if (variant == 1 || variant == 2) {
        timing_variant = variant - 1;
    }
}

void set_zoom(int factor) {
    if (factor >= 1 && factor <= 4) {
        zoom = static_cast<uint8_t>(factor);
    }
}

void set_sound_enabled(bool on) {
    if (on != (sound_enabled == 1)) {
        toggle_sound();
    }
}

void set_accurate_sound(bool on) {
    accurate_sound_chosen = on;
    follow_sound_model();
}

result set_machine(bool accurate, model_choice model) {
    const machine_interface& chosen = accurate ? accurate_machine : classic_machine;
    if (&chosen == &machine() && model == chosen_model) {
        return {};
    }
    result saved;
    if (rom_loaded == 1) {
        saved = write_battery_file();
    }
    use_machine(chosen);
    chosen_model = model;
    forget_rewind();
    follow_sound_model();
    if (rom_loaded != 1) {
        return saved;
    }
    // The other machine keeps its own battery file: it is read as on opening.
    const result powered = power_on(false);
    if (!powered.ok) {
        return powered;
    }
    const result read = read_battery_file();
    return saved.ok ? read : saved;
}

bool colour_model_in_use() {
    return machine().has_models && machine().colour_hardware();
}

void press_button(joypad_button button, bool down) {
    const int32_t code = vk_controller_first + button;
    down ? key_down(code) : key_up(code);
}

void set_serial_output(std::function<void(uint8_t)> listener) {
    serial_listener = std::move(listener);
}

void set_accurate_sound_output(sample_sink* sink) {
    set_sample_sink(nullptr);
    if (accurate_output) {
        accurate_output->set_heard(false);
    }
    accurate_output = sink;
    follow_sound();
}

void start_sound_recording(int rate) {
    set_accurate_sound_output(nullptr);
    recording = std::make_unique<sound_recording>(rate);
    set_accurate_sound_output(recording.get());
}

std::vector<int16_t> finish_sound_recording() {
    if (!recording) {
        return {};
    }
    set_accurate_sound_output(nullptr);  // hands over what was mixed up to now
    std::vector<int16_t> frames = recording->finish();
    recording.reset();
    return frames;
}

sound_stream::statistics take_sound_stats() {
    return take_output_stats();
}

void set_channel_enabled(int channel, bool on) {
    if (channel >= 1 && channel <= 4 && on != (channel_enabled[channel - 1] == 1)) {
        toggle_channel(channel);
    }
}

key_mapping key_mapping_in_use() {
    return key_map;
}

void use_key_mapping(const key_mapping& keys) {
    key_map = keys;
}

extra_key_mapping extra_keys_in_use() {
    return extra_key_map;
}

void use_extra_keys(const extra_key_mapping& keys) {
    extra_key_map = keys;
}

int turbo_rate_in_use() {
    return turbo_rate;
}

void set_turbo_rate(int rate) {
    if (rate >= lowest_turbo_rate && rate <= highest_turbo_rate) {
        turbo_rate = rate;
    }
}

void read_key_mapping_file() {
    load_config();
}

result write_key_mapping_file() {
    return save_config();
}

const uint8_t* finished_picture() {
    return frame_buffer;
}

bool colour_picture() {
    return rom_loaded == 1 && machine().colour_hardware();
}

}  // namespace tov
