// The hardware registers by name: their offsets in the I/O page (FF00-FFFF),
// so that io_page[LCDC] is the byte at FF40, and the interrupt bits of IE and
// IF.
#pragma once

#include <cstdint>

namespace tov {

enum io_register : int {
    P1 = 0x00,
    SB = 0x01,
    SC = 0x02,
    DIV = 0x04,
    TIMA = 0x05,
    TMA = 0x06,
    TAC = 0x07,
    IF = 0x0F,
    NR10 = 0x10,
    NR11 = 0x11,
    NR12 = 0x12,
    NR13 = 0x13,
    NR14 = 0x14,
    NR21 = 0x16,
    NR22 = 0x17,
    NR23 = 0x18,
    NR24 = 0x19,
    NR30 = 0x1A,
    NR31 = 0x1B,
    NR32 = 0x1C,
    NR33 = 0x1D,
    NR34 = 0x1E,
    NR41 = 0x20,
    NR42 = 0x21,
    NR43 = 0x22,
    NR44 = 0x23,
    NR50 = 0x24,
    NR51 = 0x25,
    NR52 = 0x26,
    WAVE_RAM = 0x30,
    LCDC = 0x40,
    STAT = 0x41,
    SCY = 0x42,
    SCX = 0x43,
    LY = 0x44,
    LYC = 0x45,
    DMA = 0x46,
    BGP = 0x47,
    OBP0 = 0x48,
    OBP1 = 0x49,
    WY = 0x4A,
    WX = 0x4B,
    KEY1 = 0x4D,
    VBK = 0x4F,
    HDMA1 = 0x51,
    HDMA2 = 0x52,
    HDMA3 = 0x53,
    HDMA4 = 0x54,
    HDMA5 = 0x55,
    BCPS = 0x68,
    BCPD = 0x69,
    OCPS = 0x6A,
    OCPD = 0x6B,
    SVBK = 0x70,
    IE = 0xFF,
};

// The address of a register in the CPU's address space: FF00 + its offset.
constexpr int32_t io_address(io_register offset) {
    return 0xFF00 + offset;
}

// Interrupt sources by their bit in IE and IF, highest priority first.
constexpr uint8_t interrupt_vblank = 0x01;
constexpr uint8_t interrupt_stat = 0x02;
constexpr uint8_t interrupt_timer = 0x04;
constexpr uint8_t interrupt_serial = 0x08;
constexpr uint8_t interrupt_joypad = 0x10;

}  // namespace tov
