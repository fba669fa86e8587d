#include "runner.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include "host/clock.h"
#include "host/files.h"
#include "host/keyboard.h"
#include "host/memory_audio.h"
#include "host/wav_file.h"
#include "host/window.h"
#include "inspect/register_values.h"
#include "inspect/screen_text.h"
#include "inspect/symbols.h"
#include "png_writer.h"
#include "session/breaks.h"
#include "session/developer.h"
#include "session/palette.h"
#include "session/session.h"

namespace tov {

namespace {

constexpr const char* usage_text =
    "Usage: tov-headless ROM [options]\n"
    "\n"
    "Runs a cartridge without a window, on a fake clock. ROM is a cartridge file or a\n"
    "zip, 7z or gzip archive, of which the first cartridge (.gb, .gbc or .cgb) runs\n"
    "unless --entry names another.\n"
    "\n"
    "Options:\n"
    "  --entry NAME             the archive's cartridge to run (default: the first)\n"
    "  --frames N               run N emulated frames (default 60)\n"
    "  --timing 1|2             run-loop timing variant (default 1)\n"
    "  --frameskip N            frames left undrawn between drawn ones, 0-3 (default 0)\n"
    "  --press KEY@FRAME[+N]    hold a button from frame FRAME for N frames (default 1);\n"
    "                           KEY is up, down, left, right, a, b, start, select or\n"
    "                           rewind (with --rewind); may be given more than once\n"
    "  --screenshot FILE        write the last frame as a PNG picture\n"
    "  --screen-text            print the visible background tiles as text\n"
    "  --machine classic|accurate  the machine (default classic): TOV's own, or the\n"
    "                           accurate machine, which runs as the console does and\n"
    "                           always plays the accurate sound\n"
    "  --model auto|dmg|cgb     the accurate machine's console (default auto: a Game\n"
    "                           Boy Color when header byte 0143 has bit 7 set)\n"
    "  --palette NAME           the shades of a monochrome game: tov (TOV Greys, the\n"
    "                           default), green, pocket, light or contrast\n"
    "  --sound classic|accurate the sound model (default classic): the voices, or\n"
    "                           the cycle-timed model of the four channels\n"
    "  --serial FILE            write every byte the serial port sends to FILE\n"
    "  --wav FILE               write the sound as a 16-bit stereo WAV file: what the\n"
    "                           voices played at 44100 Hz on the fake clock's time,\n"
    "                           or the accurate sound at 48000 Hz on the console's\n"
    "                           time\n"
    "  --load-state FILE        load a save state before running\n"
    "  --save-state FILE        write a save state after running\n"
    "  --cheat CODE             put a GameShark (01VVAAAA) or Game Genie (ABC-DEF-GHI)\n"
    "                           code in force, beside the cartridge's own list; may be\n"
    "                           given more than once\n"
    "  --rewind SECONDS         keep the last SECONDS (1-60) of play for rewind, as the\n"
    "                           window does\n"
    "  --rss-every N            print the resident memory at the start and every N frames\n"
    "                           (and the rewind's, with --rewind)\n"
    "  --bench                  run unthrottled and print frames=N seconds=S fps=F,\n"
    "                           timed with the host's clock\n"
    "  --until-breakpoint       run until the game executes LD B,B (its software\n"
    "                           breakpoint) or meets a --break, then stop\n"
    "  --break POINT            also stop at POINT, a breakpoint of the developer tools:\n"
    "                           ADDR or BANK:ADDR in hex or a symbol of the --symbols\n"
    "                           file; \"read RANGE\" or \"write RANGE\" (C000-C0FF); a\n"
    "                           condition (\"A == 3F\", \"(C0A0) != 00\"); \"invalid opcode\";\n"
    "                           may be given more than once; implies --until-breakpoint\n"
    "  --symbols FILE           the program's labels, an RGBDS or no$gmb .sym file\n"
    "  --timeout-frames N       give up --until-breakpoint after N frames (default 3600)\n"
    "  --expect-fibonacci       pass when B, C, D, E, H and L hold 3, 5, 8, 13, 21 and\n"
    "                           34 at the end (the protocol of mooneye's test cartridges)\n"
    "  --expect-serial TEXT     pass when the serial port sent TEXT during the run\n"
    "  --expect-screen PNG      pass when the last frame is the 160x144 picture PNG\n"
    "  --expect-byte ADDR=VV    pass when the byte at ADDR holds VV at the end (both\n"
    "                           in hex, as FF82=01); may be given more than once\n"
    "  --trace FILE             write a line per instruction to FILE: its address, the\n"
    "                           registers, the flags and the next three bytes\n"
    "  --trace-limit N          at most N lines of trace (default 100000)\n"
    "  --debug-messages         print the game's LD D,D debug messages as \"debug: TEXT\"\n"
    "                           lines (always done with --until-breakpoint or --trace)\n"
    "  --help                   show this text\n"
    "\n"
    "Exit status: 0 done (and every expectation met), 1 failed (an expectation not met,\n"
    "or a file that could not be read or written), 2 bad usage, 3 timed out (no\n"
    "breakpoint within --timeout-frames).\n";

// The keys --press holds: the console buttons and the rewind control, as a
// game controller presses them.
struct press_name {
    const char* name;
    int32_t code;
};
constexpr press_name press_names[] = {
    {"up", vk_controller_first + button_up},
    {"down", vk_controller_first + button_down},
    {"left", vk_controller_first + button_left},
    {"right", vk_controller_first + button_right},
    {"a", vk_controller_first + button_a},
    {"b", vk_controller_first + button_b},
    {"start", vk_controller_first + button_start},
    {"select", vk_controller_first + button_select},
    {"rewind", vk_controller_rewind},
};
constexpr std::size_t press_name_count = std::size(press_names);

// Key `key` of press_names held from `first_frame` for `frame_count` frames.
struct button_press {
    std::size_t key;
    uint64_t first_frame;
    uint64_t frame_count;
};

struct expected_byte {
    uint16_t address;
    uint8_t value;
};

struct options {
    std::string rom;
    std::string entry;
    uint64_t frames = 60;
    int timing = 1;
    int frameskip = 0;
    std::vector<button_press> presses;
    std::string screenshot;
    std::string wav;
    std::string load_state;
    std::string save_state;
    uint64_t rss_every = 0;
    int rewind = 0;  // seconds kept, 0: off
    bool screen_text = false;
    bool bench = false;
    bool accurate_sound = false;
    bool accurate_machine = false;
    model_choice model = model_choice::automatic;
    int palette = 0;  // in named_palettes
    std::string serial;
    std::vector<cheat_entry> cheats;
    bool until_breakpoint = false;
    std::vector<std::string> break_points;  // as given
    std::string symbols;
    std::vector<breakpoint> breaks;
    uint64_t timeout_frames = 3600;
    bool expect_fibonacci = false;
    std::string expect_serial;
    std::string expect_screen;
    std::vector<expected_byte> expect_bytes;
    std::string trace;
    uint64_t trace_limit = 100000;
    bool debug_messages = false;
};

// What a run ended with, as the exit status says it.
constexpr int exit_failed = 1;
constexpr int exit_timed_out = 3;

// The accurate sound's recording is at a sound card's usual rate.
constexpr int recording_rate = 48000;

// The runner's window: it shows nothing, and its pacing wait plays the sound
// voices up to the fake clock's time.
class headless_window : public silent_window {
public:
    explicit headless_window(memory_audio& audio) : audio_(audio) {}
    void wait_turn(double now_ms, double) override { audio_.advance_to(now_ms); }

private:
    memory_audio& audio_;
};

struct usage_error {
    std::string message;
};

std::optional<uint64_t> parse_count(const std::string& text) {
    if (text.empty() || text.size() > 12 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoull(text);
}

uint64_t count_option(const std::string& name, const std::string& value, uint64_t low,
                      uint64_t high) {
    const std::optional<uint64_t> count = parse_count(value);
    if (!count || *count < low || *count > high) {
        throw usage_error{name + " takes a number from " + std::to_string(low) + " to " +
                          std::to_string(high) + ", not '" + value + "'"};
    }
    return *count;
}

button_press press_option(const std::string& value) {
    const std::size_t at = value.find('@');
    const std::size_t plus = value.find('+', at == std::string::npos ? 0 : at);
    const std::string key = value.substr(0, at);
    for (std::size_t named = 0; named < press_name_count; ++named) {
        if (key == press_names[named].name && at != std::string::npos) {
            const std::string frame =
                value.substr(at + 1, plus == std::string::npos ? std::string::npos : plus - at - 1);
            const std::optional<uint64_t> first = parse_count(frame);
            const std::optional<uint64_t> length = plus == std::string::npos
                                                       ? std::optional<uint64_t>(1)
                                                       : parse_count(value.substr(plus + 1));
            if (first && length) {
                return {named, *first, *length};
            }
        }
    }
    throw usage_error{"--press takes KEY@FRAME or KEY@FRAME+FRAMES, not '" + value + "'"};
}

bool sound_option(const std::string& value) {
    if (value != "classic" && value != "accurate") {
        throw usage_error{"--sound takes classic or accurate, not '" + value + "'"};
    }
    return value == "accurate";
}

struct file_error {
    std::string message;
};

// A symbol file is a few thousand lines; a longer file is not one.
constexpr std::size_t longest_symbol_file = 16 << 20;

symbol_file symbols_of(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    const file_head file = read_file_head(path, longest_symbol_file);
    if (!file.outcome.ok) {
        throw file_error{"the symbols could not be read: " + file.outcome.message};
    }
    return read_symbols(file.content);
}

// The --break points, once the --symbols file that may name them is read.
void resolve_break_points(options& chosen) {
    const symbol_file symbols = symbols_of(chosen.symbols);
    for (const std::string& point : chosen.break_points) {
        const parsed_breakpoint parsed = parse_breakpoint(point, symbols);
        if (!parsed.point) {
            throw usage_error{"--break: " + parsed.outcome.message};
        }
        chosen.breaks.push_back(*parsed.point);
    }
}

bool machine_option(const std::string& value) {
    if (value != "classic" && value != "accurate") {
        throw usage_error{"--machine takes classic or accurate, not '" + value + "'"};
    }
    return value == "accurate";
}

// ADDR=VV in hex, as --expect-byte takes it.
expected_byte expected_byte_option(const std::string& value) {
    const std::size_t equals = value.find('=');
    unsigned address = 0;
    unsigned byte = 0;
    const auto hex = [](const std::string& text, unsigned& number, unsigned high) {
        const auto [end, problem] =
            std::from_chars(text.data(), text.data() + text.size(), number, 16);
        return !text.empty() && problem == std::errc{} && end == text.data() + text.size() &&
               number <= high;
    };
    if (equals == std::string::npos || !hex(value.substr(0, equals), address, 0xFFFF) ||
        !hex(value.substr(equals + 1), byte, 0xFF)) {
        throw usage_error{"--expect-byte takes ADDR=VV in hex, as FF82=01, not '" + value + "'"};
    }
    return {static_cast<uint16_t>(address), static_cast<uint8_t>(byte)};
}

cheat_entry cheat_option(const std::string& value) {
    const decoded_cheat decoded = decode_cheat(value);
    if (!decoded.code) {
        throw usage_error{"--cheat " + decoded.outcome.message};
    }
    return {value, "--cheat", true};
}

model_choice model_option(const std::string& value) {
    if (value == "auto") {
        return model_choice::automatic;
    }
    if (value == "dmg") {
        return model_choice::monochrome;
    }
    if (value == "cgb") {
        return model_choice::colour;
    }
    throw usage_error{"--model takes auto, dmg or cgb, not '" + value + "'"};
}

int palette_option(const std::string& value) {
    const int index = palette_index(value);
    if (index >= 0) {
        return index;
    }
    std::string keys = named_palettes[0].key;
    for (int other = 1; other < named_palette_count; ++other) {
        keys += other + 1 == named_palette_count ? " or " : ", ";
        keys += named_palettes[other].key;
    }
    throw usage_error{"--palette takes " + keys + ", not '" + value + "'"};
}

options parse_options(const std::vector<std::string>& arguments) {
    options result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) {
                throw usage_error{argument + " needs a value"};
            }
            return arguments[++i];
        };
        if (argument == "--entry") {
            result.entry = value();
        } else if (argument == "--frames") {
            result.frames = count_option(argument, value(), 1, 100000000);
        } else if (argument == "--timing") {
            result.timing = static_cast<int>(count_option(argument, value(), 1, 2));
        } else if (argument == "--frameskip") {
            result.frameskip = static_cast<int>(count_option(argument, value(), 0, 3));
        } else if (argument == "--press") {
            result.presses.push_back(press_option(value()));
        } else if (argument == "--screenshot") {
            result.screenshot = value();
        } else if (argument == "--sound") {
            result.accurate_sound = sound_option(value());
        } else if (argument == "--machine") {
            result.accurate_machine = machine_option(value());
        } else if (argument == "--model") {
            result.model = model_option(value());
        } else if (argument == "--palette") {
            result.palette = palette_option(value());
        } else if (argument == "--serial") {
            result.serial = value();
        } else if (argument == "--wav") {
            result.wav = value();
        } else if (argument == "--load-state") {
            result.load_state = value();
        } else if (argument == "--save-state") {
            result.save_state = value();
        } else if (argument == "--cheat") {
            result.cheats.push_back(cheat_option(value()));
        } else if (argument == "--rewind") {
            result.rewind = static_cast<int>(count_option(argument, value(), 1, 60));
        } else if (argument == "--rss-every") {
            result.rss_every = count_option(argument, value(), 1, 100000000);
        } else if (argument == "--screen-text") {
            result.screen_text = true;
        } else if (argument == "--bench") {
            result.bench = true;
        } else if (argument == "--until-breakpoint") {
            result.until_breakpoint = true;
        } else if (argument == "--break") {
            result.break_points.push_back(value());
            result.until_breakpoint = true;
        } else if (argument == "--timeout-frames") {
            result.timeout_frames = count_option(argument, value(), 1, 100000000);
        } else if (argument == "--expect-fibonacci") {
            result.expect_fibonacci = true;
        } else if (argument == "--expect-serial") {
            result.expect_serial = value();
        } else if (argument == "--expect-screen") {
            result.expect_screen = value();
        } else if (argument == "--expect-byte") {
            result.expect_bytes.push_back(expected_byte_option(value()));
        } else if (argument == "--debug-messages") {
            result.debug_messages = true;
        } else if (argument == "--symbols") {
            result.symbols = value();
        } else if (argument == "--trace") {
            result.trace = value();
        } else if (argument == "--trace-limit") {
            result.trace_limit = count_option(argument, value(), 1, 100000000);
        } else if (argument.rfind("--", 0) == 0 || !result.rom.empty()) {
            throw usage_error{"unknown option '" + argument + "'"};
        } else {
            result.rom = argument;
        }
    }
    if (result.rom.empty()) {
        throw usage_error{"no cartridge given"};
    }
    return result;
}

using held_keys = std::array<bool, press_name_count>;

// The keys held on `frame`. A key goes down when its press starts and up
// when it ends, as a real key does: marked as newly pressed only once.
void hold_buttons(const options& chosen, uint64_t frame, held_keys& held) {
    held_keys wanted{};
    for (const button_press& press : chosen.presses) {
        if (frame >= press.first_frame && frame - press.first_frame < press.frame_count) {
            wanted[press.key] = true;
        }
    }
    for (std::size_t key = 0; key < press_name_count; ++key) {
        if (wanted[key] != held[key]) {
            wanted[key] ? key_down(press_names[key].code) : key_up(press_names[key].code);
        }
    }
    held = wanted;
}

// The process's resident memory in KiB, from /proc. It allocates nothing, so
// that watching the memory does not change it.
long resident_kib() {
    char status[4096];
    const int descriptor = ::open("/proc/self/status", O_RDONLY);
    if (descriptor < 0) {
        return -1;
    }
    const ssize_t length = ::read(descriptor, status, sizeof status - 1);
    ::close(descriptor);
    status[length > 0 ? length : 0] = '\0';
    const char* field = std::strstr(status, "VmRSS:");
    return field ? std::strtol(field + 6, nullptr, 10) : -1;
}

// The --trace line of the instruction at PC: its address, the registers, the
// flags and the next three bytes ("--" for one in the I/O page).
std::string trace_line(const register_values& r) {
    char line[80];
    int length =
        std::snprintf(line, sizeof line, "%04X AF=%04X BC=%04X DE=%04X HL=%04X SP=%04X %c%c%c%c",
                      r.pc, r.af, r.bc, r.de, r.hl, r.sp, r.af & 0x80 ? 'Z' : '-',
                      r.af & 0x40 ? 'N' : '-', r.af & 0x20 ? 'H' : '-', r.af & 0x10 ? 'C' : '-');
    for (int offset = 0; offset < 3; ++offset) {
        const int byte = code_byte(r.pc + offset);
        length += byte < 0 ? std::snprintf(line + length, sizeof line - length, " --")
                           : std::snprintf(line + length, sizeof line - length, " %02X", byte);
    }
    return std::string(line) + "\n";
}

// The run a step at a time: the debug messages said, the trace written,
// and for --until-breakpoint the stop before LD B,B or a --break. False when
// no breakpoint came in time.
bool run_stepping(const options& chosen, std::ostream& out, std::ostream* trace,
                  const std::function<void(uint64_t)>& after_frame) {
    uint64_t traced = 0;
    debug_message_watch messages;
    break_watch breaks;
    breaks.use(chosen.breaks);
    const auto stop = [&] {
        if (const std::optional<std::string> message = messages.message_ran()) {
            out << "debug: " << *message << "\n";
        }
        if (chosen.until_breakpoint &&
            (ld_b_b_next() || (!chosen.breaks.empty() && breaks.check(moment_now()) >= 0))) {
            return true;
        }
        if (trace && traced < chosen.trace_limit) {
            const register_values registers = machine_registers();
            if (!registers.halted) {
                *trace << trace_line(registers);
                ++traced;
            }
        }
        return false;
    };
    const uint64_t start = frames_emulated();
    const uint64_t frames = chosen.until_breakpoint ? chosen.timeout_frames : chosen.frames;
    if (!run_steps_until(frames, stop, after_frame)) {
        return !chosen.until_breakpoint;
    }
    char line[64];
    std::snprintf(line, sizeof line, "breakpoint at %04X after %llu frames\n",
                  machine_registers().pc,
                  static_cast<unsigned long long>(frames_emulated() - start));
    out << line;
    return true;
}

// Runs the chosen number of frames, or until a breakpoint, with the presses,
// the memory reports and the trace (null: none); false when no breakpoint
// came in time.
bool run_chosen_frames(const options& chosen, std::ostream& out, std::ostream* trace) {
    held_keys held{};
    hold_buttons(chosen, 0, held);
    const auto report_memory = [&](uint64_t done) {
        out << "frame=" << done << " rss_kib=" << resident_kib();
        if (chosen.rewind != 0) {
            out << " rewind_kib=" << rewind_memory() / 1024;
        }
        out << "\n";
    };
    if (chosen.rss_every != 0) {
        report_memory(0);
    }
    const auto after_frame = [&](uint64_t done) {
        hold_buttons(chosen, done, held);
        if (chosen.rss_every != 0 && done % chosen.rss_every == 0) {
            report_memory(done);
        }
    };
    if (!chosen.until_breakpoint && !trace && !chosen.debug_messages) {
        run_frames(chosen.frames, after_frame);
        return true;
    }
    return run_stepping(chosen, out, trace, after_frame);
}

// False, after saying why on `error`, when `outcome` failed.
bool succeeded(const result& outcome, std::ostream& error) {
    if (!outcome.ok) {
        error << "tov-headless: " << outcome.message << "\n";
    }
    return outcome.ok;
}

// Whether the last frame is the picture in the PNG file at `path`; says how
// many pixels differ, or why the file cannot be compared, when not.
bool screen_matches(const std::string& path, std::ostream& error) {
    long differing = 0;
    if (!succeeded(frame_pixels_differing(path, differing), error)) {
        return false;
    }
    if (differing > 0) {
        error << "tov-headless: the screen differs from " << path << " in " << differing
              << " pixels\n";
    }
    return differing == 0;
}

// The registers' values in mooneye's protocol: the Fibonacci numbers when
// the test passed.
bool registers_hold_fibonacci(std::ostream& error) {
    const register_values r = machine_registers();
    if (r.bc == 0x0305 && r.de == 0x080D && r.hl == 0x1522) {
        return true;
    }
    char line[128];
    std::snprintf(line, sizeof line,
                  "tov-headless: the test failed: B=%02X C=%02X D=%02X E=%02X H=%02X L=%02X, not "
                  "03 05 08 0D 15 22\n",
                  r.bc >> 8, r.bc & 0xFF, r.de >> 8, r.de & 0xFF, r.hl >> 8, r.hl & 0xFF);
    error << line;
    return false;
}

// The bytes --expect-byte named, as the CPU sees them at the end.
bool bytes_hold(const std::vector<expected_byte>& expected, std::ostream& error) {
    const cpu_moment now = moment_now();
    bool all = true;
    for (const expected_byte& byte : expected) {
        const int held = now.byte_at(byte.address);
        if (held != byte.value) {
            char line[96];
            std::snprintf(line, sizeof line, "tov-headless: the byte at %04X is %02X, not %02X\n",
                          byte.address, held, byte.value);
            error << line;
            all = false;
        }
    }
    return all;
}

int run_cartridge(const options& chosen, std::ostream& out, std::ostream& error) {
    // No cartridge is open yet, so choosing the machine cannot fail.
    set_machine(chosen.accurate_machine, chosen.model);
    set_palette(named_palettes[chosen.palette].shades);
    if (!succeeded(open_cartridge(chosen.rom, chosen.entry), error)) {
        return 1;
    }
    if (const std::string note = cartridge_note(); !note.empty()) {
        error << "tov-headless: " << note << "\n";
    }
    set_timing(chosen.timing);
    set_frame_skip(chosen.frameskip);
    set_full_throttle(chosen.bench);
    set_accurate_sound(chosen.accurate_sound);
    set_rewind_length(chosen.rewind);
    std::vector<cheat_entry> cheats = cheat_list();
    cheats.insert(cheats.end(), chosen.cheats.begin(), chosen.cheats.end());
    use_cheat_list(cheats);
    if (!chosen.load_state.empty() && !succeeded(load_state_file(chosen.load_state), error)) {
        return 1;
    }

    std::ofstream trace;
    if (!chosen.trace.empty()) {
        trace.open(chosen.trace, std::ios::binary | std::ios::trunc);
        if (!trace) {
            error << "tov-headless: the trace could not be written to " << chosen.trace << "\n";
            return 1;
        }
    }
    const auto started = std::chrono::steady_clock::now();
    const uint64_t first_frame = frames_emulated();
    const bool in_time = run_chosen_frames(chosen, out, trace.is_open() ? &trace : nullptr);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    release_all_keys();

    if (chosen.bench) {
        const double seconds = elapsed.count();
        const uint64_t frames = frames_emulated() - first_frame;  // fewer when a breakpoint came
        char line[96];
        std::snprintf(line, sizeof line, "frames=%llu seconds=%.3f fps=%.0f\n",
                      static_cast<unsigned long long>(frames), seconds,
                      seconds > 0 ? static_cast<double>(frames) / seconds : 0.0);
        out << line;
    }
    if (chosen.screen_text) {
        out << screen_text();
    }
    if (!chosen.screenshot.empty() && !succeeded(write_frame_png(chosen.screenshot), error)) {
        return 1;
    }
    if (!chosen.save_state.empty() && !succeeded(save_state_file(chosen.save_state), error)) {
        return 1;
    }
    if (!in_time) {
        error << "tov-headless: no breakpoint within " << chosen.timeout_frames << " frames\n";
        return exit_timed_out;
    }
    if (chosen.expect_fibonacci && !registers_hold_fibonacci(error)) {
        return exit_failed;
    }
    if (!chosen.expect_screen.empty() && !screen_matches(chosen.expect_screen, error)) {
        return exit_failed;
    }
    if (!bytes_hold(chosen.expect_bytes, error)) {
        return exit_failed;
    }
    return 0;
}

}  // namespace

int run_headless(const std::vector<std::string>& arguments, std::ostream& out,
                 std::ostream& error) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            out << usage_text;
            return 0;
        }
    }
    options chosen;
    try {
        chosen = parse_options(arguments);
        resolve_break_points(chosen);
    } catch (const usage_error& problem) {
        error << "tov-headless: " << problem.message << "\n"
              << "Try 'tov-headless --help' for the options.\n";
        return 2;
    } catch (const file_error& problem) {
        error << "tov-headless: " << problem.message << "\n";
        return exit_failed;
    }

    // Every reading of the fake clock is a millisecond later than the last,
    // so the frame pacing wait ends after a frame's worth of readings.
    use_fake_clock(0, 1);
    release_all_keys();
    // The accurate machine always plays the accurate sound.
    const bool record_accurate =
        (chosen.accurate_sound || chosen.accurate_machine) && !chosen.wav.empty();
    auto device = std::make_unique<memory_audio>(!chosen.wav.empty() && !record_accurate);
    memory_audio& audio = *device;
    start_session(std::move(device));
    if (record_accurate) {
        start_sound_recording(recording_rate);
    } else {
        set_accurate_sound_output(nullptr);
    }
    headless_window headless(audio);
    set_window(&headless);
    std::string sent;
    if (!chosen.serial.empty() || !chosen.expect_serial.empty()) {
        set_serial_output([&sent](uint8_t byte) { sent += static_cast<char>(byte); });
    }
    int code = run_cartridge(chosen, out, error);
    if (!chosen.serial.empty() && !succeeded(write_file_atomically(chosen.serial, sent), error)) {
        code = code == 0 ? 1 : code;
    }
    if (code == 0 && !chosen.expect_serial.empty() &&
        sent.find(chosen.expect_serial) == std::string::npos) {
        error << "tov-headless: the serial port did not send \"" << chosen.expect_serial << "\"\n";
        code = exit_failed;
    }
    if (code == 0 && !chosen.wav.empty()) {
        const result written =
            record_accurate ? write_wav_file(chosen.wav, finish_sound_recording(), recording_rate)
                            : audio.write_wav(chosen.wav);
        if (!succeeded(written, error)) {
            code = 1;
        }
    }
    set_window(nullptr);
    set_serial_output({});
    end_session();
    // The defaults again for a later run in this process; the exit status
    // tells this run's outcome, whatever leaving its machine does.
    set_machine(false, model_choice::automatic);
    set_accurate_sound(false);
    set_palette(named_palettes[0].shades);
    set_rewind_length(0);
    return code;
}

}  // namespace tov
