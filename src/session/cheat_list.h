// The session's side of the cheat list (the front ends use session.h).
#pragma once

#include <string>

namespace tov {

// Reads the loaded cartridge's cheat file and puts its codes in force; what
// the status line should say about it, or nothing.
std::string read_cheat_list();

}  // namespace tov
