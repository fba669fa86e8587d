// An accurate machine's state of any content, loaded at the seam into the
// accurate machine running the demo, which then runs on for a few frames
// with buttons pressed as the input's first bytes say.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "session/session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tov::fuzz::open_demo(true);
    tov::load_state_bytes(std::string_view(reinterpret_cast<const char*>(data), size));
    for (std::size_t frame = 0; frame < 4; ++frame) {
        const uint8_t held = frame < size ? data[frame] : 0;
        for (int button = 0; button < tov::button_count; ++button) {
            tov::press_button(static_cast<tov::joypad_button>(button), (held >> button) & 1);
        }
        tov::run_frames(1, [](uint64_t) {});
    }
    return 0;
}
