// Reading the PNG pictures the runner writes and the golden ones beside the
// tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tov::test {

// A picture as 0xRRGGBB words, row after row; empty when it cannot be read
// (which the reader reports as a test failure).
struct rgb_picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

rgb_picture read_png(const std::string& path);

}  // namespace tov::test
