#include "classic/state/resume_record.h"

#include <algorithm>
#include <cstdint>

#include "classic/memory/io_writes.h"
#include "classic/memory/memory_map.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/timing.h"
#include "memory/io_registers.h"
#include "persist/numbers.h"

namespace tov {

namespace {

// "TOV" and the record's version.
constexpr std::string_view marker = "TOV\x01";

// The counters stay far below 16 bits: a line is at most 912 cycles, a DIV
// step 512 and a TIMA period 2048.
constexpr int counter_bytes = 2;

// A line holds at most ten objects; the renderer's lines are 0-153.
constexpr int32_t most_line_objects = 10;
constexpr int32_t last_line = 153;

int32_t signed_counter(uint32_t number) {
    return static_cast<int16_t>(number);
}

}  // namespace

std::string resume_record() {
    std::string record(marker);
    append_number(record, static_cast<uint32_t>(SP.value), 2);
    append_number(record, packed_flags(), 1);
    append_number(record, static_cast<uint32_t>((halted & 1) | (halt_repeat & 1) << 1), 1);
    for (const int32_t counter : {line_cycles, div_cycles, tima_cycles, tima_period}) {
        append_number(record, static_cast<uint32_t>(counter), counter_bytes);
    }
    // clang-format off
    for (const uint8_t byte : {bank_mode, hdma_active, clock_selected, skip_counter,
                               static_cast<uint8_t>(render_ly),
                               static_cast<uint8_t>(line_sprite_count),
                               static_cast<uint8_t>(window_lines.last_line + 1),
                               static_cast<uint8_t>(window_lines.hidden_before),
                               static_cast<uint8_t>(window_lines.last_hidden)}) {
        record += static_cast<char>(byte);
    }
    // clang-format on
    return record;
}

bool restore_resume_record(std::string_view record) {
    if (record.size() < resume_record_size || !record.starts_with(marker)) {
        return false;
    }
    std::size_t at = marker.size();
    const auto next = [&](int bytes) {
        const uint32_t number = number_at(record, at, bytes);
        at += static_cast<std::size_t>(bytes);
        return number;
    };
    SP.value = static_cast<int32_t>(next(2));
    set_working_flags(static_cast<uint8_t>(next(1)));
    const uint32_t halt = next(1);
    halted = halt & 1;
    halt_repeat = halt >> 1 & 1;
    line_cycles = signed_counter(next(counter_bytes));
    div_cycles = signed_counter(next(counter_bytes));
    tima_cycles = signed_counter(next(counter_bytes));
    tima_period = signed_counter(next(counter_bytes));
    bank_mode = next(1) & 1;
    hdma_active = next(1) & 1;
    const bool clock_chosen = next(1) != 0;
    clock_selected = clock_chosen && has_clock() ? 1 : 0;
    skip_counter = static_cast<uint8_t>(next(1));
    render_ly = std::min<int32_t>(next(1), last_line);
    line_sprite_count = std::min<int32_t>(next(1), most_line_objects);
    window_lines.last_line = std::min<int32_t>(next(1), last_line + 1) - 1;
    window_lines.hidden_before = std::min<int32_t>(next(1), last_line);
    window_lines.last_hidden = next(1) != 0;
    return true;
}

}  // namespace tov
