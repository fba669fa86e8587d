// Screenshots: the current picture as a PNG file, at the zoom's size, in
// SCREENSHOTS/<cartridge file name>-<date>-<time>.png in the data folder.
#pragma once

#include <QImage>
#include <QString>

#include "session/session.h"

namespace tov {

// The machine's picture the window presented last (the last finished one
// without a window), scaled to width x height without smoothing.
QImage current_picture(int width, int height);

// Writes the screenshot; the message holds the file's path when it was
// written, or why it was not.
result save_screenshot();

}  // namespace tov
