// Writing the frame buffer as a PNG picture, and comparing it with one.
#pragma once

#include <string>

namespace tov {

// Writes the 160 x 144 frame to `path`; false with `error` set on failure.
bool write_frame_png(const std::string& path, std::string& error);

// How many pixels of the frame differ from the PNG picture at `path`, or -1
// with `error` set when it cannot be read or is not 160 x 144.
long frame_pixels_differing(const std::string& path, std::string& error);

}  // namespace tov
