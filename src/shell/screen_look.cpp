#include "shell/screen_look.h"

#include <algorithm>

namespace tov {

namespace {

constexpr int colour_words = 0x8000;

// The colour console's screen mixes its channels: each output channel takes
// some of the other two, and the brightest comes out at 240 of 255.
// From "Color Emulation" by Near (byuu.net), its Game Boy Color curve.
struct channel_mix {
    int red, green, blue;
};
constexpr channel_mix mixes[3] = {
    // red green blue (weights on the 5-bit components)
    {26, 4, 2},  // red
    {0, 24, 8},  // green
    {6, 4, 22},  // blue
};
constexpr int mix_limit = 960;

uint32_t mixed_level(const channel_mix& mix, int red, int green, int blue) {
    const int sum = mix.red * red + mix.green * green + mix.blue * blue;
    return static_cast<uint32_t>(std::min(sum, mix_limit) >> 2);
}

// host_colour puts each 5-bit component in a byte's top five bits.
int component(uint8_t level) {
    return level >> 3;
}

using colour_table = std::array<uint32_t, colour_words>;

colour_table make_corrected_colours() {
    colour_table table{};
    for (int word = 0; word < colour_words; ++word) {
        table[word] = corrected_colour(word);
    }
    return table;
}

}  // namespace

void blend_pictures(const uint8_t* frame, const uint8_t* previous, uint8_t* out) {
    for (int i = 0; i < frame_bytes; ++i) {
        out[i] = static_cast<uint8_t>((frame[i] + previous[i] + 1) >> 1);
    }
}

uint32_t corrected_colour(int32_t word) {
    const int red = word & 0x1F;
    const int green = (word >> 5) & 0x1F;
    const int blue = (word >> 10) & 0x1F;
    return mixed_level(mixes[2], red, green, blue) | mixed_level(mixes[1], red, green, blue) << 8 |
           mixed_level(mixes[0], red, green, blue) << 16;
}

void correct_colours(const uint8_t* frame, uint8_t* out) {
    static const colour_table corrected = make_corrected_colours();
    for (int i = 0; i < frame_bytes; i += 3) {
        const int word =
            component(frame[i + 2]) | component(frame[i + 1]) << 5 | component(frame[i]) << 10;
        const uint32_t colour = corrected[word];
        out[i] = static_cast<uint8_t>(colour);
        out[i + 1] = static_cast<uint8_t>(colour >> 8);
        out[i + 2] = static_cast<uint8_t>(colour >> 16);
    }
}

const uint8_t* look_of(const uint8_t* frame, const look_options& options, screen_look& look) {
    const uint8_t* coloured = frame;
    if (options.colour_correction) {
        correct_colours(frame, look.corrected.data());
        coloured = look.corrected.data();
    }
    if (!options.frame_blending) {
        look.has_previous = false;
        return coloured;
    }
    const uint8_t* shown = coloured;
    if (look.has_previous) {
        blend_pictures(coloured, look.previous.data(), look.blended.data());
        shown = look.blended.data();
    }
    std::copy_n(coloured, frame_bytes, look.previous.begin());
    look.has_previous = true;
    return shown;
}

}  // namespace tov
