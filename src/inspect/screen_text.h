// The screen as text, for cartridges that print their results with tiles
// numbered as characters: what the headless runner's --screen-text shows.
#pragma once

#include <string>

namespace tov {

// The visible 20 x 18 tiles of the background: tile numbers that are
// printable ASCII as their characters, other tiles as spaces, one line per
// tile row with trailing spaces removed.
std::string screen_text();

}  // namespace tov
