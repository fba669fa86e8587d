// Numbers in the state files: unsigned, little-endian, of a given byte count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

inline void append_number(std::string& image, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        image += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

inline uint32_t number_at(std::string_view image, std::size_t position, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<uint32_t>(static_cast<uint8_t>(image[position + i])) << (8 * i);
    }
    return value;
}

}  // namespace tov
