// What a state of TOV's own machine keeps besides its fixed fields, so that
// a loaded game goes on exactly where it was: the stack pointer, the working
// flags, the halt, the line, divider and timer counters whole, the bank mode,
// the HBlank DMA, the clock's choice and where the renderer is in the frame.
// It travels in the bytes of the state file that belong to no memory, behind
// a marker: a reader that skips those bytes loads the file as before, and a
// file without the marker leaves these fields as they are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tov {

constexpr std::size_t resume_record_size = 25;

// The record of the machine as it stands.
std::string resume_record();

// Puts the record's fields back, each brought into its range; false, changing
// nothing, when `record` does not start with the marker.
bool restore_resume_record(std::string_view record);

}  // namespace tov
