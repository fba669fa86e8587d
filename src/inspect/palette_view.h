// The "Palettes" page's text: the 64 colour words of the background and
// sprite palettes.
#pragma once

#include <string>

namespace tov {

// Eight lines of background palettes, an empty line, eight lines of sprite
// palettes; each line the palette's four colour words in hex.
std::string palette_text();

}  // namespace tov
