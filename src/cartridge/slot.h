// The accurate machine's cartridge slot: the bank controller that header
// byte 0147 names, its registers, the cartridge's own RAM and the banks
// they put in view at 0000-7FFF and A000-BFFF. Each controller kind keeps
// its rules in a file of its own (cartridge/controllers.h); the bus reads
// through the view they leave, so a ROM read is one lookup.
#pragma once

#include <cstdint>

namespace tov {

enum class controller_kind : uint8_t { none, mbc1, mbc1_multicart, mbc2, mbc3, mbc5, huc1 };

// The controller's registers as the cartridge keeps them. Each kind uses
// the fields it has and says how in its file.
struct controller_registers {
    uint16_t rom_select = 1;  // the ROM bank register(s)
    uint8_t ram_select = 0;   // the RAM bank register, or the clock register chosen
    uint8_t mode = 0;         // MBC1's banking mode; HuC1's infrared choice
    uint8_t ram_enabled = 0;
    uint8_t motor = 0;  // a rumble cartridge's motor
};
extern controller_registers controller;

// What A000-BFFF reaches while the controller has it open.
enum class ram_view : uint8_t { none, bytes, nibbles, clock, infrared };

// What the controller puts in view, derived from its registers.
struct slot_view {
    const uint8_t* low_rom;  // 0000-3FFF: byte o is low_rom[o * low_stride]
    int32_t low_stride;
    const uint8_t* high_rom;  // 4000-7FFF, the same way
    int32_t high_stride;
    ram_view ram;
    bool ram_open;      // closed, A000-BFFF reads FF and ignores writes
    uint8_t* ram_bank;  // the RAM bank in view, and the mask of its offsets
    int32_t ram_mask;
};
extern slot_view view;

// The cartridge as its header describes it, set at power-on.
struct cartridge_board {
    controller_kind kind;
    bool known;  // false: header byte 0147 names a kind not built, run as MBC5
    bool battery;
    bool clock;
    bool rumble;
    int32_t rom_banks;  // a power of two; bank numbers wrap at it
    int32_t ram_size;   // bytes of RAM (MBC2: its 512 cells)
};
extern cartridge_board board;

// The board that the header of the cartridge loaded in rom_bank0 and
// rom_banks describes.
cartridge_board board_of_header();

// The cartridge's RAM, bank after bank; the largest has 16 banks of 8 KiB.
constexpr int32_t cartridge_ram_size = 16 * 0x2000;
extern uint8_t cartridge_ram[cartridge_ram_size];

// Takes up the cartridge loaded in rom_bank0 and rom_banks: its board from
// the header and the registers as at power-on; the RAM and the clock are
// cleared unless `keep_ram`.
void power_on_slot(bool keep_ram);

// Brings registers read from a file into range and puts their banks in
// view again.
void settle_slot();

inline uint8_t read_rom(int32_t address) {
    return address < 0x4000 ? view.low_rom[address * view.low_stride]
                            : view.high_rom[(address - 0x4000) * view.high_stride];
}

// A000-BFFF as the CPU reads and writes it; a closed RAM reads FF.
uint8_t read_cartridge_ram(int32_t address);
void write_cartridge_ram(int32_t address, uint8_t value);

// A write to 0000-7FFF: the controller's registers.
void write_controller(int32_t address, uint8_t value);

// The bytes in view for the tools: ROM, and A000-BFFF whether or not the
// RAM is open.
uint8_t peek_slot(int32_t address);

// The name of the controller for messages: "MBC1", "MBC3", ...
const char* controller_name();

}  // namespace tov
