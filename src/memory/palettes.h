// The looks a monochrome game can be shown in: four colour words, lightest
// first, that BGP, OBP0 and OBP1 choose among. The named ones are those the
// window's Zoom > Palette menu and tov-headless --palette offer.
#pragma once

#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace tov {

using shade_set = std::array<int32_t, 4>;

// A colour word (red bits 0-4, green 5-9, blue 10-14) from 0xRRGGBB: each
// level keeps its upper five bits.
constexpr int32_t colour_word(uint32_t rgb) {
    return static_cast<int32_t>((rgb >> 19 & 0x1F) | (rgb >> 11 & 0x1F) << 5 |
                                (rgb >> 3 & 0x1F) << 10);
}

// Four colours given as 0xRRGGBB, lightest first.
constexpr shade_set rgb_shades(uint32_t lightest, uint32_t light, uint32_t dark, uint32_t darkest) {
    return {colour_word(lightest), colour_word(light), colour_word(dark), colour_word(darkest)};
}

struct named_palette {
    const char* key;    // its name in the settings and for tov-headless --palette
    const char* title;  // as the menu shows it
    shade_set shades;
};

// TOV Greys, the default, are the shades TOV has always shown (its white
// kept as 0xFFFF, as it always was).
// clang-format off
constexpr named_palette named_palettes[] = {
    {"tov",      "TOV Greys",      {0xFFFF, 0x3DEF, 0x2D6B, 0x0000}},
    {"green",    "Original Green", rgb_shades(0x9BBC0F, 0x8BAC0F, 0x306230, 0x0F380F)},
    {"pocket",   "Pocket",         rgb_shades(0xC4CFA1, 0x8B956D, 0x4D533C, 0x1F1F1F)},
    {"light",    "Light Grey",     rgb_shades(0xE8E8E8, 0xB8B8B8, 0x808080, 0x484848)},
    {"contrast", "High Contrast",  rgb_shades(0xFFFFFF, 0xAAAAAA, 0x555555, 0x000000)},
};
// clang-format on
constexpr int named_palette_count = static_cast<int>(std::size(named_palettes));

// The index in named_palettes of the palette called `key`; -1 when none is.
int palette_index(std::string_view key);

// The shades a monochrome game is shown in: TOV Greys until others are set.
const shade_set& monochrome_palette();
void set_monochrome_palette(const shade_set& shades);

}  // namespace tov
