// Zoom > "Palette": the look of monochrome games, chosen among the named
// palettes or "Custom..." and remembered in the settings store.
#pragma once

#include "session/palette.h"

namespace tov {

// The menu's items, in order: the named palettes, then "Custom...". Their
// command ids are 41080-41089.
constexpr int custom_palette_item = named_palette_count;
constexpr int palette_items = named_palette_count + 1;
static_assert(palette_items <= 10, "the palette items have ten command ids");

// The item of the palette kept in the settings: TOV Greys when what is kept
// names no palette, or "Custom..." without four colours.
int palette_item_in_use();

// Menu item `item` chosen: "Custom..." asks for its colours first (Cancel
// changes nothing); the palette is remembered and a game shows it at once.
void choose_palette(int item);

// The palette kept in the settings, put to use.
void use_saved_palette();

}  // namespace tov
