#include "inspect/debug_message.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "machine/cpu_state.h"

namespace tov {
namespace {

TEST(DebugMessage, OperandsShowTheMachineAndMessagesAreFoundAfterLdDD) {
    std::map<int32_t, int> memory;
    const auto put = [&](int32_t address, const std::vector<int>& bytes) {
        for (const int byte : bytes) {
            memory[address++] = byte;
        }
    };
    message_context context;
    context.byte_at = [&](int32_t address) {
        const auto found = memory.find(address);
        return found == memory.end() ? 0xFF : found->second;
    };
    context.scanline = 93;
    context.rom_bank = 5;
    context.sram_bank = 2;
    context.wram_bank = 3;
    context.vram_bank = 1;
    A = 0x12;
    BC.value = 0x3456;
    HL.value = 0xC000;
    SP.value = 0xFFFE;
    PC.value = 0x0150;
    flag_z = 1;
    flag_n = flag_h = flag_c = 0;
    ime = 1;
    put(0xC000, {0xAB});
    const struct {
        const char* text;
        const char* filled;
    } operands[] = {
        {"A=%A% B=%B% C=%C% BC=%BC% HL=%HL%", "A=12 B=34 C=56 BC=3456 HL=C000"},
        {"%AF% %ZF% %Z% %ZERO% %CF% %CARRY% %IME%", "1280 1 1 1 0 0 1"},
        {"line %SCANLINE% bank %ROMBANK% (HL)=%(HL)%", "line 93 bank 05 (HL)=AB"},
        {"%SRAMBANK% %XRAMBANK% %WRAMBANK% %VRAMBANK%", "02 02 03 01"},
        {"%ALLREGS%", "AF=1280 BC=3456 DE=0000 HL=C000 SP=FFFE PC=0150"},
        {"100% sure, %NOPE% %", "100% sure, %NOPE% %"},
    };
    DE.value = 0;
    for (const auto& test : operands) {
        EXPECT_EQ(fill_operands(test.text, context), test.filled) << test.text;
    }

    // LD D,D; JR over 64 64 0000 "Hi %A%"; then a pointed one; then no mark.
    put(0x0200, {0x52, 0x18, 10, 0x64, 0x64, 0x00, 0x00, 'H', 'i', ' ', '%', 'A', '%'});
    put(0x0300, {0x52, 0x18, 8, 0x64, 0x64, 0x01, 0x00, 0x00, 0xC1, 0x00, 0x00});
    put(0xC100, {'O', 'K', 0});
    put(0x0400, {0x52, 0x18, 4, 0x64, 0x65, 0x00, 0x00});
    put(0x0500, {0x52, 0x00});
    EXPECT_EQ(debug_message_at(0x0200, context), "Hi 12");
    EXPECT_EQ(debug_message_at(0x0300, context), "OK");
    EXPECT_EQ(debug_message_at(0x0400, context), std::nullopt) << "not the dd mark";
    EXPECT_EQ(debug_message_at(0x0500, context), std::nullopt) << "no JR after it";

    // A pointed text is read in the bank its pointer names, when that can be read.
    put(0x0600, {0x52, 0x18, 8, 0x64, 0x64, 0x01, 0x00, 0x00, 0x40, 0x03, 0x00});
    context.byte_in_bank = [](int32_t address, int bank) {
        return address == 0x4000 ? '0' + bank : 0;
    };
    EXPECT_EQ(debug_message_at(0x0600, context), "3");
}

}  // namespace
}  // namespace tov
