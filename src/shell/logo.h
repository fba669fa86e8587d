// The picture the window shows while no cartridge is loaded.
#pragma once

#include <QImage>

namespace tov {

constexpr int logo_width = 215;
constexpr int logo_height = 98;

// The TOV logo, 215 x 98, drawn from shapes (no fonts needed).
QImage draw_logo();

}  // namespace tov
