#include "memory/cartridge_info.h"

#include <cstdint>
#include <cstring>

#include "machine/cpu_state.h"
#include "machine/memory.h"

namespace tov {

namespace {

char shared_text[32];

struct coded_text {
    uint8_t code;
    const char* text;
};

constexpr coded_text type_texts[] = {
    {0x00, "ROM ONLY"},
    {0x01, "ROM+MBC1"},
    {0x02, "ROM+MBC1+RAM"},
    {0x03, "ROM+MBC1+RAM+BATT"},
    {0x05, "ROM+MBC2"},
    {0x06, "ROM+MBC2+BATTERY"},
    {0x08, "ROM+RAM"},
    {0x09, "ROM+RAM+BATTERY"},
    {0x0B, "ROM+MMM01"},
    {0x0C, "ROM+MMM01+SRAM"},
    {0x0D, "ROM+MMM01+SRAM+BATT"},
    {0x0F, "ROM+MBC3+TIMER+BATT"},
    {0x10, "ROM+MBC3+TIMER+RAM+BATT"},
    {0x11, "ROM+MBC3"},
    {0x12, "ROM+MBC3+RAM"},
    {0x13, "ROM+MBC3+RAM+BATT"},
    {0x19, "ROM+MBC5"},
    {0x1A, "ROM+MBC5+RAM"},
    {0x1B, "ROM+MBC5+RAM+BATT"},
    {0x1C, "ROM+MBC5+RUMBLE"},
    {0x1D, "ROM+MBC5+RUMBLE+SRAM"},
    {0x1E, "ROM+MBC5+RUMBLE+SRAM+BATT"},
    {0x1F, "Pocket Camera"},
    {0xFD, "Bandai TAMA5"},
    {0xFE, "Hudson HuC-3"},
    {0xFF, "Hudson HuC-1"},
};

constexpr coded_text rom_size_texts[] = {
    {0x00, "256Kbit =  32KByte =   2 banks"}, {0x01, "512Kbit =  64KByte =   4 banks"},
    {0x02, "1Mbit = 128KByte =   8 banks"},   {0x03, "2Mbit = 256KByte =  16 banks"},
    {0x04, "4Mbit = 512KByte =  32 banks"},   {0x05, "8Mbit =   1MByte =  64 banks"},
    {0x06, "16Mbit =   2MByte = 128 banks"},  {0x07, "32Mbit =   4MByte = 256 banks"},
    {0x52, "9Mbit = 1.1MByte =  72 banks"},   {0x53, "10Mbit = 1.2MByte =  80 banks"},
    {0x54, "12Mbit = 1.5MByte =  96 banks"},
};

constexpr coded_text ram_size_texts[] = {
    {0x00, "RAM : None"},
    {0x01, "RAM : 16kBit =  2kB = 1 bank"},
    {0x02, "RAM : 64kBit =  8kB = 1 bank"},
    {0x03, "RAM : 256kBit = 32kB = 4 banks"},
    {0x04, "RAM : 1MBit =128kB =16 banks"},
};

const char* set_text(const char* text) {
    std::strncpy(shared_text, text, sizeof shared_text - 1);
    return shared_text;
}

template <std::size_t N>
const char* describe_code(const coded_text (&table)[N], uint8_t code) {
    for (const coded_text& entry : table) {
        if (entry.code == code) {
            return set_text(entry.text);
        }
    }
    return shared_text;
}

}  // namespace

const char* describe_title() {
    // "NAME :" padded to 25 characters, the 16 header bytes over characters 8-23.
    set_text("NAME :                   ");
    std::memcpy(shared_text + 7, rom_bank0 + 0x0134, 16);
    return shared_text;
}

const char* describe_colour() {
    const uint8_t flag = rom_bank0[0x0143];
    colour_mode = flag == 0x80 || flag == 0xC0;
    return set_text(colour_mode ? "GB-COLOR" : "GB-NORMAL");
}

const char* describe_type() {
    return describe_code(type_texts, rom_bank0[0x0147]);
}

const char* describe_rom_size() {
    return describe_code(rom_size_texts, rom_bank0[0x0148]);
}

const char* describe_ram_size() {
    return describe_code(ram_size_texts, rom_bank0[0x0149]);
}

const char* describe_destination() {
    switch (rom_bank0[0x014A]) {
        case 0x00: return set_text("Japanese");
        case 0x01: return set_text("Non-Japanese");
        default: return set_text("Language=Unknowlegdge");
    }
}

}  // namespace tov
