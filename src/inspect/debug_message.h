// LD D,D debug messages, the convention homebrew shares with debuggers: the
// instruction LD D,D, then a JR over the message, the bytes 64 64 ("dd") and
// a type word: 0000 for the text itself, 0001 for a pointer (address, bank)
// to a text ended by 0. In the text, %A%, %HL%, %SCANLINE% and the other
// operands show the machine's state.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tov {

// What a message can show besides the registers, which it reads from the
// machine record.
struct message_context {
    std::function<int(int32_t)> byte_at;  // as the CPU reads it; -1 where reading would act
    int scanline = 0;
    int rom_bank = 0;
    int sram_bank = 0;  // the cartridge RAM, work RAM and video RAM banks in view
    int wram_bank = 1;
    int vram_bank = 0;
    // The byte at an address in a given bank, for a pointed text; when empty,
    // the text is read where it is mapped now.
    std::function<int(int32_t address, int bank)> byte_in_bank;
};

// The message whose LD D,D is at `address`, its operands filled in; nothing
// when the bytes after it are no message.
std::optional<std::string> debug_message_at(int32_t address, const message_context& context);

// `text` with each operand it knows replaced by its value: registers in hex
// (two or four digits), flags and IME as 0 or 1, the scanline in decimal,
// the banks in view (%ROMBANK%, %SRAMBANK% or %XRAMBANK%, %WRAMBANK%,
// %VRAMBANK%) in hex, %(BC)% and the like as the byte there in hex. Anything
// else stays as it is.
std::string fill_operands(std::string_view text, const message_context& context);

}  // namespace tov
