// The accurate machine's memories as they stand: the cartridge's from its
// slot, the console's own from the memory record.
#pragma once

#include <cstdint>

namespace tov {

// The byte `address` (0000-FFFF) holds, without a read's side effects; the
// I/O page as stored.
uint8_t accurate_peek(int32_t address);

}  // namespace tov
