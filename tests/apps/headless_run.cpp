#include "headless_run.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "runner.h"

namespace tov::test {

run_result run(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream error;
    const int code = run_headless(arguments, out, error);
    return {code, out.str(), error.str()};
}

std::string cartridge_file(const std::string& name) {
    return (std::filesystem::path(TOV_SOURCE_DIR) / "tests" / "cartridges" / name).string();
}

std::string source_of(const std::string& name) {
    std::ifstream file(cartridge_file(name));
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

assembled_cartridge::assembled_cartridge(const std::string& source,
                                         const std::vector<image_patch>& patches) {
    EXPECT_TRUE(cartridge_.assemble(source));
    for (const image_patch& patch : patches) {
        cartridge_.byte(patch.offset, patch.value);
    }
    path = cartridge_.write();
}

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
