#include "shell/screen_look.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "video/host_palette.h"

namespace tov {
namespace {

picture_bytes filled(uint8_t level) {
    picture_bytes picture;
    picture.fill(level);
    return picture;
}

// Frames shown in turn with blending on: each byte the average of the frame
// and the one before, halves rounded up; the first frame as it is; the frame
// before, not what was shown, so nothing trails. Off, the frame itself.
TEST(ScreenLook, BlendingAveragesEachFrameWithTheOneBefore) {
    struct case_t {
        uint8_t frame, shown;
    };
    const case_t cases[] = {{248, 248}, {0, 124}, {0, 0}, {255, 128}, {8, 132}, {16, 12}};
    screen_look look;
    for (const case_t& test : cases) {
        const picture_bytes frame = filled(test.frame);
        const uint8_t* shown = look_of(frame.data(), {true, false}, look);
        EXPECT_TRUE(std::equal(shown, shown + frame_bytes, filled(test.shown).begin()))
            << int{test.frame} << " shown as " << int{*shown};
    }
    const picture_bytes frame = filled(1);
    EXPECT_EQ(look_of(frame.data(), {}, look), frame.data());
}

// Black stays black, white a little darker white, and a pure primary comes
// out darker and less saturated: its own channel falls, the others rise. The
// frame's levels give back each pixel's colour word exactly.
TEST(ScreenLook, ColourCorrectionDarkensAndDesaturates) {
    const int32_t words[] = {0x0000, 0x7FFF, 0x001F, 0x03E0, 0x7C00};
    const int count = static_cast<int>(std::size(words));
    picture_bytes frame{};
    picture_bytes out{};
    for (int pixel = 0; pixel < count; ++pixel) {
        const uint32_t colour = host_colour(words[pixel], colour_scale::top_bits);
        std::memcpy(&frame[pixel * 3], &colour, 3);
    }
    correct_colours(frame.data(), out.data());
    for (int pixel = 0; pixel < count; ++pixel) {
        SCOPED_TRACE(words[pixel]);
        uint32_t shown = 0;
        std::memcpy(&shown, &out[pixel * 3], 3);
        EXPECT_EQ(shown, corrected_colour(words[pixel]));
        const uint8_t* before = &frame[pixel * 3];
        const uint8_t* after = &out[pixel * 3];
        const int own = static_cast<int>(std::max_element(before, before + 3) - before);
        const int others = after[0] + after[1] + after[2] - after[own];
        if (before[0] == before[1] && before[1] == before[2]) {
            EXPECT_TRUE(after[0] == after[1] && after[1] == after[2]);
            EXPECT_LE(after[0], before[0]);
            EXPECT_GE(after[0], before[0] * 7 / 8);
        } else {
            EXPECT_LT(after[own], before[own]);
            EXPECT_GT(others, 0);
        }
    }
}

}  // namespace
}  // namespace tov
