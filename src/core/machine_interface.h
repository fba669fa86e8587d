// The one interface of the machines: the operations each machine fills,
// which the seam, the views, the cheats, rewind and the breaks call without
// knowing which machine runs. The seam picks the machine once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/result.h"

namespace tov {

// The console a machine is. Auto takes a Game Boy Color for a cartridge
// whose header byte 0143 has bit 7 set, a Game Boy otherwise.
enum class model_choice { automatic, monochrome, colour };

// The cartridge controller's registers as the views show them.
struct bank_registers {
    uint8_t ram_enable;
    uint8_t rom_bank;
    uint8_t mode;
};

// The cartridge's save as battery files of the shared layout hold it.
struct save_ram_layout {
    int32_t size;  // bytes of RAM
    bool clock;    // a clock block follows them
    bool cells;    // MBC2's cells, which keep four bits
};

struct machine_interface {
    // Whether the user chooses the console model this machine is.
    bool has_models;
    // Whether this machine always plays the cycle-timed sound.
    bool cycle_timed_sound_only;

    // The cartridge just loaded taken up as `model`; its RAM is kept when
    // `keep_cartridge_ram` (a reset), else cleared for its battery file.
    void (*power_on)(model_choice model, bool keep_cartridge_ram);
    // The window's timer message: a slice of emulation, and the slice under
    // way ended before its next step, so that a command need not wait long.
    void (*run_slice)();
    void (*end_slice)();
    // Runs until the next frame has been counted (presented or skipped).
    void (*run_frame)();
    // One step, and the frame paced and presented when it ended one.
    void (*step)();
    // The debugger page's step when it opens, and its button's step.
    void (*debugger_first_step)();
    void (*debugger_step)();

    // The machine's state as bytes and back; `owns_state` tells this
    // machine's states apart, and `state_hint` says what to switch when the
    // other machine is given one.
    std::string (*state_image)();
    bool (*owns_state)(std::string_view image);
    result (*restore_state)(std::string_view image);
    const char* state_hint;

    // The battery file of the cartridge named `name`, and its save as the
    // shared layout sees it: the RAM's layout and its bytes.
    result (*write_battery)(const std::string& name);
    result (*read_battery)(const std::string& name);
    save_ram_layout (*save_ram)();
    uint8_t& (*save_ram_byte)(int32_t index);

    // Reads without a read's side effects: the byte the CPU would fetch at
    // `address` now; the byte the memory in view holds there; an I/O
    // register (offset 00-FF) as the page holds it, with the registers the
    // units keep elsewhere as they stand; and as a read of the CPU sees it.
    uint8_t (*code_byte)(int32_t address);
    uint8_t (*peek)(int32_t address);
    uint8_t (*io_register)(int32_t offset);
    uint8_t (*read_register)(int32_t offset);
    // The debugger's write of a byte in view, and of a byte of the
    // cartridge's RAM bank `bank` (offset 0000-1FFF).
    void (*poke)(int32_t address, uint8_t value);
    void (*write_cartridge_ram)(int bank, int32_t offset, uint8_t value);

    // The cartridge's banks as the memory editor shows them: the ROM and RAM
    // banks in view, the RAM's banks and where one of their bytes is kept,
    // and whether poke reaches the cartridge's banks in view.
    bank_registers (*banks)();
    int (*rom_bank_in_view)();
    int (*ram_bank_in_view)();
    int (*ram_bank_count)();
    uint8_t* (*ram_element)(int bank, int32_t offset);
    bool pokes_cartridge;

    // BGP, OBP0 and OBP1 choose again among this machine's shades.
    void (*use_shades)();
    // Whether it draws colours in the host's full range (white FF), as the
    // console's reference pictures are made, rather than in the top five bits.
    bool full_range_colours;
    // Whether it runs as a Game Boy Color now.
    bool (*colour_hardware)();
    // What the status line should say about the cartridge just taken up.
    std::string (*cartridge_note)();
    // Whether the cartridge's rumble motor runs.
    bool (*rumbling)();
};

// The machine in use, which the seam picks.
const machine_interface& machine();
void use_machine(const machine_interface& chosen);

}  // namespace tov
