// "&Load State" and "&Save State": a file dialog that starts at the last state
// file chosen in either, then the state is read or written. The emulation
// stands still while the dialog is open.
#pragma once

#include <string>

namespace tov {

// The last state file chosen in either dialog.
extern std::string state_path;

void load_state_command();
void save_state_command();

}  // namespace tov
