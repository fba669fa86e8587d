#include "session/developer.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <utility>

#include "core/machine_interface.h"
#include "host/files.h"
#include "host/paths.h"
#include "inspect/call_stack.h"
#include "inspect/disassembler.h"
#include "inspect/memory_view.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/registers.h"
#include "memory/cartridge.h"
#include "run/frame_driver.h"
#include "session/breaks.h"

namespace tov {

namespace {

std::function<bool()> watch;
bool watch_stopped = false;

// A symbol or breakpoint file is a few thousand lines at most.
constexpr std::size_t longest_listing = 4 << 20;

// The most a step may take: a CPU halted with nothing to wake it stays so.
constexpr uint64_t step_frames = 60;

// The stop test that lets the instruction the game stands at run first.
std::function<bool()> after_first(std::function<bool()> stop) {
    return [stop = std::move(stop), first = true]() mutable {
        if (first) {
            first = false;
            return false;
        }
        return stop();
    };
}

bool cpu_runs() {
    return halted == 0;
}

// The byte at `address` as the breakpoints compare it: the I/O registers as
// they read now, without a read's side effects.
int watched_byte(uint16_t address) {
    if (address >= 0xFF00 && address < 0xFF80) {
        return machine().io_register(address & 0xFF);
    }
    return code_byte(address);
}

struct register_field {
    const char* name;
    register_pair* pair;  // the pair, or the pair holding the byte
    int shift;            // -1 for the pair itself, else 8 (high) or 0 (low)
};

const std::array<register_field, 14> register_fields{{
    {"A", &AF, 8},
    {"F", &AF, 0},
    {"B", &BC, 8},
    {"C", &BC, 0},
    {"D", &DE, 8},
    {"E", &DE, 0},
    {"H", &HL, 8},
    {"L", &HL, 0},
    {"AF", &AF, -1},
    {"BC", &BC, -1},
    {"DE", &DE, -1},
    {"HL", &HL, -1},
    {"SP", &SP, -1},
    {"PC", &PC, -1},
}};

std::filesystem::path breakpoint_file() {
    return program_folder() / "BREAKPOINTS" / (cartridge_name() + ".brk");
}

}  // namespace

void run_watched_frame() {
    if (run_steps_until(1, watch, [](uint64_t) {})) {
        watch_stopped = true;
        stop();
    }
}

void watch_run(std::function<bool()> stop) {
    watch = std::move(stop);
}

bool watching() {
    return static_cast<bool>(watch);
}

bool take_watch_stop() {
    return std::exchange(watch_stopped, false);
}

void run_on(std::function<bool()> stop) {
    watch_run(after_first(std::move(stop)));
    resume();
}

void step_instruction_now() {
    run_steps_until(step_frames, after_first(cpu_runs), [](uint64_t) {});
}

std::function<bool()> stepped_over() {
    const int opcode = code_byte(PC.value);
    if (opcode < 0 || !is_call(static_cast<uint8_t>(opcode))) {
        return cpu_runs;
    }
    const int next = (PC.value + instruction_length(static_cast<uint8_t>(opcode))) & 0xFFFF;
    const int sp = SP.value;
    return [next, sp] { return PC.value == next && SP.value == sp; };
}

std::function<bool()> stepped_out() {
    return [sp = SP.value, returned = false]() mutable {
        if (returned && SP.value > sp) {
            return true;
        }
        const int opcode = code_byte(PC.value);
        returned = cpu_runs() && opcode >= 0 && is_return(static_cast<uint8_t>(opcode));
        return false;
    };
}

std::function<bool()> reached(uint16_t address) {
    return [address] { return cpu_runs() && PC.value == address; };
}

cpu_moment moment_now() {
    cpu_moment now;
    now.registers = machine_registers();
    now.byte_at = watched_byte;
    now.bank_at = bank_at_address;
    return now;
}

bool set_register(const std::string& name, int value) {
    const auto field = std::find_if(register_fields.begin(), register_fields.end(),
                                    [&](const register_field& f) { return name == f.name; });
    if (field == register_fields.end()) {
        return false;
    }
    if (field->shift < 0) {
        field->pair->value = value & 0xFFFF;
    } else {
        const int kept = field->pair->value & ~(0xFF << field->shift);
        field->pair->value = kept | (value & 0xFF) << field->shift;
    }
    if (field->pair == &AF && field->shift != 8) {
        F &= 0xF0;  // the low nibble of F is always 0
        unpack_flags();
    }
    return true;
}

cartridge_symbols read_cartridge_symbols() {
    std::filesystem::path beside = rom_path;
    const std::filesystem::path candidates[] = {beside.replace_extension(".sym"),
                                                std::filesystem::path(rom_path + ".sym")};
    for (const std::filesystem::path& path : candidates) {
        const file_head file = read_file_head(path, longest_listing);
        if (file.missing) {
            continue;
        }
        if (!file.outcome.ok) {
            return {{}, "The symbols were not read: " + file.outcome.message};
        }
        cartridge_symbols read{read_symbols(file.content), {}};
        read.note = std::to_string(read.symbols.symbols.size()) + " symbols from " +
                    path.filename().string();
        return read;
    }
    return {};
}

// A list that cannot be read is no list: the breakpoints are typed again,
// and saving them writes the file afresh.
std::vector<breakpoint> read_breakpoints() {
    const file_head file = read_file_head(breakpoint_file(), longest_listing);
    return file.outcome.ok ? read_breakpoint_list(file.content) : std::vector<breakpoint>{};
}

result save_breakpoints(const std::vector<breakpoint>& points) {
    const std::filesystem::path path = breakpoint_file();
    // A folder that cannot be made fails the write, which says so.
    create_folder_for(path);
    return headed("The breakpoints could not be saved.",
                  write_file_atomically(path, breakpoint_list_text(points)));
}

}  // namespace tov
