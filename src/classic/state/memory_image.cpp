#include "classic/state/memory_image.h"

namespace tov {

// Sized once and filled in place: rewind takes a state every few frames.
void append_section(std::string& image, const memory_section& section) {
    std::size_t position = image.size();
    image.resize(position + section.file_size());  // the padding bytes are 0
    for (int32_t bank = 0; bank < section.banks; ++bank) {
        for (int32_t offset = 0; offset < section.bank_size; ++offset, ++position) {
            image[position] = static_cast<char>(section.memory[offset * section.banks + bank]);
        }
        if (section.padded) {
            ++position;
        }
    }
}

std::size_t read_section(std::string_view image, std::size_t position,
                         const memory_section& section) {
    for (int32_t bank = 0; bank < section.banks; ++bank) {
        for (int32_t offset = 0; offset < section.bank_size; ++offset, ++position) {
            if (position < image.size()) {
                section.memory[offset * section.banks + bank] =
                    static_cast<uint8_t>(image[position]);
            }
        }
        if (section.padded) {
            ++position;
        }
    }
    return position;
}

}  // namespace tov
