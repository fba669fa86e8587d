// The configuration file TOV.cfg in the program folder: the key mapping, the
// only setting kept between runs, as nine fixed text lines.
#pragma once

#include <filesystem>

#include "host/result.h"

namespace tov {

std::filesystem::path config_path();

// Reads the key mapping; a missing or unreadable file, or a line too short
// to hold a key, leaves the buttons concerned as they are.
void load_config();

// Writes the key mapping (89 bytes). The file is replaced whole, so a failed
// write leaves the previous one; the message names the file when it could
// not be written.
result save_config();

}  // namespace tov
