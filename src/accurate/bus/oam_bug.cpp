#include "accurate/bus/oam_bug.h"

#include <algorithm>

#include "accurate/clock/clock.h"
#include "accurate/video/lcd.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"

namespace tov {

namespace {

// OAM is read as 20 rows of four 16-bit words; the patterns work bit by bit,
// so each word's two bytes go the same way.
constexpr int row_bytes = 8;
constexpr int last_row = oam_size / row_bytes - 1;

uint8_t* row_at(int row) {
    return oam + row * row_bytes;
}

// The row's first word from itself (a) and the first (b) and third (c)
// words of the row before.
uint8_t written_word(uint8_t a, uint8_t b, uint8_t c) {
    return static_cast<uint8_t>(((a ^ c) & (b ^ c)) ^ c);
}

uint8_t read_word(uint8_t a, uint8_t b, uint8_t c) {
    return static_cast<uint8_t>(b | (a & c));
}

// The first word blends with the row before, the other three are copied
// from it.
void spoil(int row, uint8_t (*first_word)(uint8_t, uint8_t, uint8_t)) {
    uint8_t* current = row_at(row);
    const uint8_t* before = row_at(row - 1);
    for (int i = 0; i < 2; ++i) {
        current[i] = first_word(current[i], before[i], before[4 + i]);
    }
    std::copy(before + 2, before + row_bytes, current + 2);
}

// A read while the increment unit drives the bus: outside the first four
// rows and the last, the row before takes a blend of the first words around
// it and is copied over both its neighbours. A read's spoiling follows.
void spoil_around(int row) {
    if (row >= 4 && row < last_row) {
        uint8_t* two_before = row_at(row - 2);
        uint8_t* before = row_at(row - 1);
        uint8_t* current = row_at(row);
        for (int i = 0; i < 2; ++i) {
            const uint8_t a = two_before[i];
            const uint8_t c = current[i];
            const uint8_t d = before[4 + i];
            before[i] = static_cast<uint8_t>((before[i] & (a | c | d)) | (a & c & d));
        }
        std::copy(before, before + row_bytes, current);
        std::copy(before, before + row_bytes, two_before);
    }
    spoil(row, read_word);
}

}  // namespace

// While an OAM DMA runs the search sees no objects: it does not read OAM.
void oam_bug(oam_access access) {
    if (colour_model || machine_clock.due[event_oam_dma] != never) {
        return;
    }
    const int row = oam_search_row();
    if (row < 1) {
        return;
    }
    switch (access) {
        case oam_access::write: spoil(row, written_word); break;
        case oam_access::read: spoil(row, read_word); break;
        default: spoil_around(row); break;
    }
}

}  // namespace tov
