// The bank controllers as a game sees them: a cartridge runs a list of steps
// (register writes, reads, frame waits) from bank 0, keeps what it read and
// shows it as hex digits, ten bytes a screen row. Every ROM bank holds its
// own number at its last byte (7FFF in view), so a read tells the bank.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <string>
#include <vector>

#include "headless_run.h"

namespace tov {
namespace {

struct step {
    uint8_t op;  // 1 write, 2 read, 3 wait frames (the count in the address)
    uint16_t address;
    uint8_t value;
};

step write(uint16_t address, int value) {
    return {1, address, static_cast<uint8_t>(value)};
}

step read(uint16_t address) {
    return {2, address, 0};
}

step wait_frames(int frames) {
    return {3, static_cast<uint16_t>(frames), 0};
}

constexpr uint16_t bank_marker = 0x7FFF;

// The steps, four bytes each, end at op 0; what was read goes to C000 on,
// and at the end the LCD goes off in VBlank and C000 on is shown.
const char* const program = R"(
last    equ $80                 ; the low byte of the end of what was read
column  equ $81                 ; bytes left on the screen row
        org $40
        reti                    ; VBlank: only wakes the HALT
        org $100
        jp start
        org $150
start:  di
        ld sp, $DFFE
        ld a, $91
        ldh ($40), a
        ld a, $01
        ldh ($FF), a
        xor a
        ldh ($0F), a
        ei
        ld hl, steps
        ld de, $C000
.step:  ld a, (hl+)
        ld c, (hl)
        inc hl
        ld b, (hl)
        inc hl
        or a
        jr z, show
        dec a
        jr z, .write
        dec a
        jr z, .read
.wait:  halt
        dec c
        jr nz, .wait
        inc hl
        jr .step
.write: ld a, (hl+)
        ld (bc), a
        jr .step
.read:  inc hl
        ld a, (bc)
        ld (de), a
        inc de
        jr .step

show:   ld a, e
        ldh (last), a
        halt
        xor a
        ldh ($40), a
        ld bc, $C000
        ld de, $9800
.row:   ld a, 10
        ldh (column), a
.byte:  ldh a, (last)
        cp c
        jr z, done
        ld a, (bc)
        swap a
        call show_digit
        ld a, (bc)
        call show_digit
        inc bc
        ldh a, (column)
        dec a
        ldh (column), a
        jr nz, .byte
        ld hl, 32 - 20
        add hl, de
        ld d, h
        ld e, l
        jr .row
done:   halt
        jr done
steps:
)";

// The screen after running `steps` on a cartridge of `banks` ROM banks with
// header bytes 0147 `type` and 0149 `ram_size`.
std::string screen_after(const std::vector<step>& steps, uint8_t type, uint8_t ram_size, int banks,
                         const std::vector<std::string>& options) {
    std::string source = program;
    for (const step& s : steps) {
        source += "        db " + std::to_string(s.op) + ", " + std::to_string(s.address & 0xFF) +
                  ", " + std::to_string(s.address >> 8) + ", " + std::to_string(s.value) + "\n";
    }
    source += "        db 0, 0, 0, 0\n" + test::source_of("digits/hex_digit.asm");
    const int size_code = std::countr_zero(static_cast<unsigned>(banks)) - 1;
    // The logo's first byte at 0104, which bank 10 does not repeat: one game,
    // not a multicart.
    std::vector<test::image_patch> patches = {
        {0x104, 0xCE}, {0x147, type}, {0x148, static_cast<uint8_t>(size_code)}, {0x149, ram_size}};
    for (int bank = 1; bank < banks; ++bank) {
        patches.push_back(
            {static_cast<std::size_t>(bank) * 0x4000 + 0x3FFF, static_cast<uint8_t>(bank)});
    }
    const test::assembled_cartridge cartridge(source, patches);
    std::vector<std::string> arguments = {cartridge.path, "--screen-text"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const test::run_result result = test::run(arguments);
    EXPECT_EQ(result.code, 0) << result.error;
    return result.out;
}

// `bytes` as the program shows them: ten to a row, 18 rows.
std::string screen_of(const std::vector<uint8_t>& bytes) {
    std::string text;
    int rows = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        text += digits;
        if (i % 10 == 9 || i + 1 == bytes.size()) {
            text += '\n';
            ++rows;
        }
    }
    return text + std::string(18 - rows, '\n');
}

struct controller_case {
    const char* name;
    uint8_t type, ram_size;  // header bytes 0147 and 0149
    int rom_banks;
    std::vector<step> setup;
    uint8_t probe_enable;  // written to 0000 before 77 goes to A000 and is read back
    uint8_t probe_reads;
    std::vector<int> more_rom;                  // bank numbers tried after 0 to rom_banks - 1
    std::vector<step> (*select_rom)(int bank);  // the register writes for a bank number
    int (*reached)(int bank);                   // before the ROM's address lines wrap it
    int ram_banks;
    std::vector<int> more_ram;  // RAM bank numbers tried after 0 to ram_banks - 1
    int ram_bank_bits;          // of the RAM bank register at 4000
    bool nibbles;               // four-bit cells, read with the upper nibble set
};

void PrintTo(const controller_case& test, std::ostream* out) {
    *out << test.name;
}

// The register writes for a bank number, and the bank it reaches before the
// ROM's address lines wrap it.
std::vector<step> bank_at_2000(int bank) {
    return {write(0x2000, bank)};
}

std::vector<step> mbc1_bank(int bank) {
    return {write(0x2000, bank & 0x1F), write(0x4000, bank >> 5)};
}

std::vector<step> mbc2_bank(int bank) {
    return {write(0x2100, bank)};
}

std::vector<step> mbc5_bank(int bank) {
    return {write(0x2000, bank & 0xFF), write(0x3000, bank >> 8)};
}

int always_1(int) {
    return 1;
}

int mbc1_reached(int bank) {
    return (bank & 0x60) | std::max(bank & 0x1F, 1);
}

int mbc2_reached(int bank) {
    return std::max(bank & 0x0F, 1);
}

int mbc3_reached(int bank) {
    return std::max(bank & 0x7F, 1);
}

int mbc5_reached(int bank) {
    return bank & 0x1FF;
}

int huc1_reached(int bank) {
    return std::max(bank & 0x3F, 1);
}

// Each row: name, 0147, 0149, ROM banks, setup, probe enable and read, more
// ROM banks; bank writes and reached, RAM banks, more RAM banks, RAM bank
// bits, nibbles.
// clang-format off
const controller_case controller_cases[] = {
    // No registers: 4000-7FFF is bank 1 and the one RAM bank always open.
    {"none",       0x09, 0x02,   2, {},                 0x00, 0x77, {2, 3},
     bank_at_2000, always_1,      1, {1, 2, 3}, 0x00, false},
    // BANK1 is five bits whose 0 reads as 1, BANK2 two bits above them; in
    // mode 1 BANK2 chooses the RAM bank. 0A in the low nibble opens the RAM.
    // On 16 banks 10 wraps to bank 0, as the fifth bit has no ROM line.
    {"MBC1",       0x03, 0x03,  16, {write(0x6000, 1)}, 0x1A, 0x77, {0x10, 0x11, 0x13},
     mbc1_bank,    mbc1_reached,  4, {4, 5, 6, 7}, 0x03, false},
    // 1 MiB: BANK2 gives bank bits 5-6; 20, 40 and 60 reach 21, 41 and 61.
    {"MBC1 1 MiB", 0x01, 0x00,  64, {},                 0x0A, 0xFF, {0x40, 0x60},
     mbc1_bank,    mbc1_reached,  0, {},        0x00, false},
    // Address bit 8 set: the 4-bit ROM bank (0 reads as 1); clear: the RAM
    // enable. No RAM bank register.
    {"MBC2",       0x06, 0x00,  16, {},                 0x1A, 0xF7, {0x10, 0x11},
     mbc2_bank,    mbc2_reached,  1, {1},       0x00, true},
    // Seven bits, 0 reads as 1; RAM banks 0-3.
    {"MBC3",       0x13, 0x03, 128, {},                 0x00, 0xFF, {0x80, 0x81},
     bank_at_2000, mbc3_reached,  4, {},        0x03, false},
    // Nine bits over two registers, bank 0 included; 16 RAM banks; only 0A
    // itself opens the RAM. Bit 8 has no line on 64 banks.
    {"MBC5",       0x1B, 0x04,  64, {},                 0x1A, 0xFF, {0x40, 0x105, 0x1FF},
     mbc5_bank,    mbc5_reached, 16, {16, 17},  0x0F, false},
    // Six bits, 0 reads as 1; the RAM has no enable (0E would choose the
    // infrared port instead).
    {"HuC1",       0xFF, 0x03,  64, {},                 0x00, 0x77, {0x40, 0x41},
     bank_at_2000, huc1_reached,  4, {},        0x03, false},
};
// clang-format on

// 0 to count - 1, then `more`.
std::vector<int> numbers_then(int count, const std::vector<int>& more) {
    std::vector<int> numbers;
    for (int n = 0; n < count; ++n) {
        numbers.push_back(n);
    }
    numbers.insert(numbers.end(), more.begin(), more.end());
    return numbers;
}

class CartridgeControllers : public testing::TestWithParam<controller_case> {};

// Each bank number reaches the bank the controller's rules say, and every RAM
// bank keeps its own marker unless the rules make two banks one.
TEST_P(CartridgeControllers, ReachTheBanksTheirRulesSay) {
    const controller_case& test = GetParam();
    std::vector<step> steps = test.setup;
    steps.insert(steps.end(), {write(0x0000, test.probe_enable), write(0xA000, 0x77), read(0xA000),
                               write(0x0000, 0x0A)});
    std::vector<uint8_t> expected = {test.probe_reads};

    for (const int bank : numbers_then(test.rom_banks, test.more_rom)) {
        const std::vector<step> select = test.select_rom(bank);
        steps.insert(steps.end(), select.begin(), select.end());
        steps.push_back(read(bank_marker));
        expected.push_back(static_cast<uint8_t>(test.reached(bank) % test.rom_banks));
    }

    const std::vector<int> ram_banks = numbers_then(test.ram_banks, test.more_ram);
    const auto marker = [](std::size_t i) { return static_cast<uint8_t>(0xC0 + i); };
    for (std::size_t i = 0; i < ram_banks.size(); ++i) {
        steps.insert(steps.end(), {write(0x4000, ram_banks[i]), write(0xA000, marker(i))});
    }
    const auto cell = [&](int bank) { return (bank & test.ram_bank_bits) % test.ram_banks; };
    for (std::size_t i = 0; i < ram_banks.size(); ++i) {
        steps.insert(steps.end(), {write(0x4000, ram_banks[i]), read(0xA000)});
        std::size_t last = 0;  // the last marker written to the same bank
        for (std::size_t j = 0; j < ram_banks.size(); ++j) {
            last = cell(ram_banks[j]) == cell(ram_banks[i]) ? j : last;
        }
        expected.push_back(test.nibbles ? 0xF0 | (marker(last) & 0x0F) : marker(last));
    }
    EXPECT_EQ(screen_after(steps, test.type, test.ram_size, test.rom_banks,
                           {"--machine", "accurate", "--frames", "10"}),
              screen_of(expected));
}

INSTANTIATE_TEST_SUITE_P(Accurate, CartridgeControllers, testing::ValuesIn(controller_cases),
                         [](const testing::TestParamInfo<controller_case>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

// MBC3: 4000 chooses RAM bank 00-03 or clock register 08-0C, and `access`
// reaches it at A000-BFFF.
std::vector<step> choose(int which, const std::vector<step>& access) {
    std::vector<step> steps = {write(0x4000, which)};
    steps.insert(steps.end(), access.begin(), access.end());
    return steps;
}

std::vector<step> joined(const std::vector<std::vector<step>>& parts) {
    std::vector<step> steps;
    for (const std::vector<step>& part : parts) {
        steps.insert(steps.end(), part.begin(), part.end());
    }
    return steps;
}

// 00 then 01 at 6000 copies the running clock into the registers read.
std::vector<step> latch() {
    return {write(0x6000, 0x00), write(0x6000, 0x01)};
}

// Set to 05 seconds, 2A minutes, 17 hours and day 134 (all hex), the clock
// is latched and read, read again 210 frames (3.5 s) later, latched and read.
// Writing the seconds starts a new second, and the second latch comes 209 to
// 210 frames after it (the first wait ends at the next VBlank), 3.48-3.50 s:
// three whole seconds have passed, so the seconds read 08 and the rest are
// unchanged. The copy read before that latch still says 05.
TEST(CartridgeClock, CountsTheConsolesSeconds) {
    const std::vector<step> steps = joined({
        {write(0x0000, 0x0A)},
        choose(0x08, {write(0xA000, 0x05)}),
        choose(0x09, {write(0xA000, 0x2A)}),
        choose(0x0A, {write(0xA000, 0x17)}),
        choose(0x0B, {write(0xA000, 0x34)}),
        choose(0x0C, {write(0xA000, 0x01)}),
        latch(),
        choose(0x08, {read(0xA000), wait_frames(210), read(0xA000)}),
        latch(),
        choose(0x08, {read(0xA000)}),
        choose(0x09, {read(0xA000)}),
        choose(0x0A, {read(0xA000)}),
        choose(0x0B, {read(0xA000)}),
        choose(0x0C, {read(0xA000)}),
    });
    EXPECT_EQ(screen_after(steps, 0x10, 0x03, 2, {"--machine", "accurate", "--frames", "230"}),
              screen_of({0x05, 0x05, 0x08, 0x2A, 0x17, 0x34, 0x01}));
}

// On TOV's own machine the clock's registers are not kept: while one is
// chosen A000-BFFF reads FF and drops writes, so a game setting its clock
// leaves the save in RAM bank 0 as it was.
TEST(CartridgeClock, ClassicMachineKeepsTheSaveWhileTheClockIsChosen) {
    const std::vector<step> steps = joined({
        {write(0x0000, 0x0A), write(0x4000, 0x00)},
        {write(0xA000, 0x11), write(0xA001, 0x22), write(0xBFFF, 0x33)},
        choose(0x08, {read(0xA000), write(0xA000, 0x05), write(0xBFFF, 0x05)}),
        choose(0x09, {write(0xA000, 0x2A), write(0xA001, 0x2A)}),
        choose(0x0C, {write(0xA000, 0x01)}),
        choose(0x00, {read(0xA000), read(0xA001), read(0xBFFF)}),
    });
    EXPECT_EQ(screen_after(steps, 0x10, 0x03, 2, {"--frames", "10"}),
              screen_of({0xFF, 0x11, 0x22, 0x33}));
}

}  // namespace
}  // namespace tov
