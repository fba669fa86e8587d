// A tile row's two bit planes as eight colour numbers, one byte per pixel
// from the leftmost pixel shown, and eight such bytes at a time, for both
// picture makers: TOV's own and the accurate machine's.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace tov {

constexpr uint64_t every_byte = 0x0101010101010101;

// One bit plane of a tile row spread to one byte per pixel, leftmost pixel
// (bit 7) in the lowest byte; the mirrored table puts bit 0 there instead.
constexpr std::array<uint64_t, 256> make_spread_table(bool mirrored) {
    std::array<uint64_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        for (int bit = 0; bit < 8; ++bit) {
            const int pixel = mirrored ? bit : 7 - bit;
            table[value] |= static_cast<uint64_t>((value >> bit) & 1) << (8 * pixel);
        }
    }
    return table;
}
inline constexpr std::array<uint64_t, 256> spread = make_spread_table(false);
inline constexpr std::array<uint64_t, 256> spread_mirrored = make_spread_table(true);

// The eight colour numbers of a tile row; `mirrored` flips it horizontally.
inline uint64_t row_colours(uint8_t low, uint8_t high, bool mirrored) {
    const std::array<uint64_t, 256>& table = mirrored ? spread_mirrored : spread;
    return table[low] | table[high] << 1;
}

inline uint64_t load8(const uint8_t* bytes) {
    uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

inline void store8(uint8_t* bytes, uint64_t value) {
    std::memcpy(bytes, &value, sizeof value);
}

}  // namespace tov
