#include "video/frame.h"

#include "host/window.h"

namespace tov {

uint8_t frame_buffer[frame_row_bytes * screen_height];

void present_frame(int x, int y, int width, int height) {
    window().present(frame_buffer, x, y, width, height);
}

}  // namespace tov
