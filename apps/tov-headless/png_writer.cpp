#include "png_writer.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "session/palette.h"
#include "session/session.h"

namespace tov {

result write_frame_png(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return failure("cannot write " + path + ": " + std::strerror(errno));
    }
    png_byte row[frame_row_bytes];  // trivially destructible: libpng reports errors by longjmp
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return failure("cannot encode " + path);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, screen_width, screen_height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // The frame holds blue, green, red; PNG wants red first.
    for (int y = 0; y < screen_height; ++y) {
        const uint8_t* source = finished_picture() + y * frame_row_bytes;
        for (int x = 0; x < screen_width; ++x) {
            row[x * 3 + 0] = source[x * 3 + 2];
            row[x * 3 + 1] = source[x * 3 + 1];
            row[x * 3 + 2] = source[x * 3 + 0];
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        return failure("cannot write " + path);
    }
    return {};
}

namespace {

result unreadable_picture(const std::string& path, const png_image& image) {
    return failure("cannot read the picture " + path + ": " + image.message);
}

// The test cartridges' monochrome reference pictures are in four greys,
// 00, 55, AA and FF; a picture in them is compared shade for shade, whatever
// palette the game is shown in.
bool console_grey(png_byte blue, png_byte green, png_byte red) {
    return blue == green && green == red && red % 0x55 == 0;
}

bool in_console_greys(const std::vector<png_byte>& pixels) {
    for (std::size_t at = 0; at < pixels.size(); at += 3) {
        if (!console_grey(pixels[at], pixels[at + 1], pixels[at + 2])) {
            return false;
        }
    }
    return true;
}

int console_shade(png_byte grey) {
    return 3 - grey / 0x55;
}

}  // namespace

result frame_pixels_differing(const std::string& path, long& differing) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return unreadable_picture(path, image);
    }
    if (image.width != screen_width || image.height != screen_height) {
        png_image_free(&image);
        return failure(path + " is " + std::to_string(image.width) + "x" +
                       std::to_string(image.height) + ", not the screen's 160x144");
    }
    image.format = PNG_FORMAT_BGR;  // the frame's own order
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        const result unread = unreadable_picture(path, image);
        png_image_free(&image);
        return unread;
    }
    const uint8_t* frame = finished_picture();
    const bool by_shade = !colour_picture() && in_console_greys(pixels);
    differing = 0;
    for (std::size_t at = 0; at < pixels.size(); at += 3) {
        differing += by_shade ? shade_of_pixel(frame + at) != console_shade(pixels[at])
                              : !std::equal(frame + at, frame + at + 3, pixels.begin() + at);
    }
    return {};
}

}  // namespace tov
