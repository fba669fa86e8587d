#include "persist/memory_image.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tov {

void append_section(std::string& image, const memory_section& section) {
    for (int32_t bank = 0; bank < section.banks; ++bank) {
        for (int32_t offset = 0; offset < section.bank_size; ++offset) {
            image += static_cast<char>(section.memory[offset * section.banks + bank]);
        }
        if (section.padded) {
            image += '\0';
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

bool read_file_head(const std::filesystem::path& path, std::size_t limit, std::string& content,
                    std::string& error, bool& missing) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        missing = errno == ENOENT || errno == ENOTDIR;  // no file, or no folder for it
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    missing = false;
    content.assign(limit, '\0');
    content.resize(std::fread(content.data(), 1, limit, file));
    const int problem = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (problem != 0) {
        error = path.string() + ": " + std::strerror(problem);
        return false;
    }
    return true;
}

}  // namespace tov
