#include "session/breaks.h"

#include "core/machine_interface.h"
#include "inspect/debug_message.h"
#include "inspect/memory_view.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "run/frame_driver.h"

namespace tov {

namespace {

constexpr int ld_b_b = 0x40;
constexpr int ld_d_d = 0x52;

}  // namespace

int code_byte(int32_t address) {
    address &= 0xFFFF;
    if (address >= 0xFF00 && address < 0xFF80) {
        return -1;
    }
    return machine().code_byte(address);
}

bool ld_b_b_next() {
    return halted == 0 && code_byte(PC.value) == ld_b_b;
}

int code_byte_in_bank(uint16_t address, int bank) {
    const int region = region_at(address);
    if (bank < 0 || region < 0 || !region_of(region).banked) {
        return code_byte(address);
    }
    return stored_byte(region, bank, address - region_of(region).first_address);
}

int bank_at_address(uint16_t address) {
    const int region = region_at(address);
    if (region < 0 || !region_of(region).banked) {
        return 0;
    }
    return bank_in_view(region);
}

std::optional<std::string> debug_message_next() {
    if (halted == 1 || code_byte(PC.value) != ld_d_d) {
        return std::nullopt;
    }
    const message_context context{
        .byte_at = code_byte,
        .scanline = machine().io_register(LY),
        .rom_bank = bank_in_view(region_romx),
        .sram_bank = bank_in_view(region_sram),
        .wram_bank = bank_in_view(region_wramx),
        .vram_bank = bank_in_view(region_vram),
        .byte_in_bank = [](int32_t at,
                           int bank) { return code_byte_in_bank(static_cast<uint16_t>(at), bank); },
    };
    return debug_message_at(PC.value, context);
}

std::optional<std::string> debug_message_watch::message_ran() {
    std::optional<std::string> ran;
    if (pending_ && PC.value == ((pending_pc_ + 1) & 0xFFFF)) {
        ran = std::move(pending_);
    }
    pending_ = debug_message_next();
    pending_pc_ = PC.value;
    return ran;
}

bool run_steps_until(uint64_t frames, const std::function<bool()>& stop,
                     const std::function<void(uint64_t done)>& after_frame) {
    const uint64_t first = frame_counter;
    while (frame_counter - first < frames) {
        if (stop()) {
            return true;
        }
        const uint64_t frame = frame_counter;
        machine().step();
        if (frame_counter != frame) {
            after_frame(frame_counter - first);
        }
    }
    return false;
}

}  // namespace tov
