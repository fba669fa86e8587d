#include "machine/cpu_state.h"

#include "machine/timing.h"

namespace tov {

namespace {
uint8_t& byte_of(int32_t& value, int index) {
    return reinterpret_cast<uint8_t*>(&value)[index];
}
}  // namespace

register_pair::register_pair() : high(byte_of(value, 1)), low(byte_of(value, 0)) {}

register_pair AF, BC, DE, HL, SP, PC;
uint8_t& A = AF.high;
uint8_t& F = AF.low;
uint8_t& B = BC.high;
uint8_t& C = BC.low;
uint8_t& D = DE.high;
uint8_t& E = DE.low;
uint8_t& H = HL.high;
uint8_t& L = HL.low;

int32_t flag_z, flag_n, flag_h, flag_c;
uint8_t shown_flags[4];

int32_t ime;
int32_t halted;
int32_t halt_repeat;
uint8_t stop_flag;

uint8_t colour_mode;
uint8_t colour_model;

void set_working_flags(uint8_t bits) {
    flag_z = (bits >> 7) & 1;
    flag_n = (bits >> 6) & 1;
    flag_h = (bits >> 5) & 1;
    flag_c = (bits >> 4) & 1;
}

void unpack_flags() {
    set_working_flags(F);
    shown_flags[0] = static_cast<uint8_t>(flag_z);
    shown_flags[1] = static_cast<uint8_t>(flag_n);
    shown_flags[2] = static_cast<uint8_t>(flag_h);
    shown_flags[3] = static_cast<uint8_t>(flag_c);
}

uint8_t packed_flags() {
    return static_cast<uint8_t>(flag_z << 7 | flag_n << 6 | flag_h << 5 | flag_c << 4);
}

void power_on_cpu() {
    speed_shift = colour_mode ? 0 : 1;
    AF.value = colour_mode ? 0x11B0 : 0x01B0;
    BC.value = 0x0013;
    DE.value = 0x00D8;
    HL.value = 0x014D;
    SP.value = 0xFFFE;
    PC.value = 0x0100;
    unpack_flags();
    ime = 0;
}

}  // namespace tov
