// Quick-state slots 1-9: the machine in STATES/<cartridge name>.ss1 to .ss9
// in the data folder (the name the session gives the cartridge, so that each
// cartridge of an archive has slots of its own), in the save-state format, each with a small
// picture of the screen at that moment beside it (.ss1.png ...).
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

#include "session/session.h"

namespace tov {

struct quick_slot {
    bool used = false;
    QDateTime saved;   // when the slot was last saved
    QImage thumbnail;  // the screen then, at half size; null when it is missing
};

// The slot's state file for the loaded cartridge.
QString quick_state_path(int slot);

quick_slot quick_state_slot(int slot);

// Writes the machine and the screen's picture to the slot.
result save_quick_state(int slot);

// Reads the machine back from the slot; an empty slot says so and changes
// nothing.
result load_quick_state(int slot);

}  // namespace tov
