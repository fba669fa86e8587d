// The accurate machine's state as named records, one per unit, listed in one
// table: its save state writes and reads them in this order, and a unit that
// is added later adds a record here.
#pragma once

#include <cstddef>
#include <span>

namespace tov {

struct state_section {
    char tag[5];  // four characters that name the record in a file
    void* record;
    std::size_t size;
    void (*power_on)();  // the record as at power-on, for a file without it
    void (*settle)();    // brings a record read from a file into range
};

std::span<const state_section> accurate_state_sections();

// Before the records are written: they take up the machine as it is now.
void gather_accurate_state();

// After the records were read and settled: the machine takes them up.
void adopt_accurate_state();

}  // namespace tov
