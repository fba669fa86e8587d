// The accurate machine's save states, a format of TOV's own: the magic
// "TOVSTATE", a 16-bit version, then one section per unit record, each a
// four-character tag, a 32-bit length and the record's bytes (numbers
// little-endian). A section that a reader does not know is skipped; a
// record the file lacks starts as at power-on. The cartridge ROM is never
// part of it.
#pragma once

#include <string>
#include <string_view>

#include "host/result.h"

namespace tov {

// The machine as a state image.
std::string accurate_state_image();

// Whether `image` starts as an accurate machine's state does.
bool is_accurate_state(std::string_view image);

// Takes the machine up from `image`. A damaged image, or one whose records
// do not fit this build, is refused with the reason, and the machine is left
// untouched.
result restore_accurate_state(std::string_view image);

}  // namespace tov
