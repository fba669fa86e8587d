// Writing the frame buffer as a PNG picture.
#pragma once

#include <string>

namespace tov {

// Writes the 160 x 144 frame to `path`; false with `error` set on failure.
bool write_frame_png(const std::string& path, std::string& error);

}  // namespace tov
