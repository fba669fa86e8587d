// Writing the frame buffer as a PNG picture, and comparing it with one.
#pragma once

#include <string>

#include "host/result.h"

namespace tov {

// Writes the 160 x 144 frame to `path`.
result write_frame_png(const std::string& path);

// Sets `differing` to how many pixels of the frame differ from the PNG
// picture at `path`; fails when it cannot be read or is not 160 x 144. A
// monochrome game's frame is compared shade for shade with a picture in the
// four greys 000000, 555555, AAAAAA and FFFFFF.
result frame_pixels_differing(const std::string& path, long& differing);

}  // namespace tov
