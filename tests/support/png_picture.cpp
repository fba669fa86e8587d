#include "png_picture.h"

#include <gtest/gtest.h>
#include <png.h>

namespace tov::test {

rgb_picture read_png(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
        ADD_FAILURE() << "cannot decode " << path;
        return {};
    }
    rgb_picture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    for (std::size_t at = 0; at + 2 < bytes.size(); at += 3) {
        picture.pixels.push_back(
            static_cast<uint32_t>(bytes[at] << 16 | bytes[at + 1] << 8 | bytes[at + 2]));
    }
    return picture;
}

}  // namespace tov::test
