// The texts typed into the cheat dialog: the address and value of a freeze
// entry, its name, and the value of an "= Value" search. The input is split
// at its first three zero bytes into the four texts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classic/machine/classic_machine.h"
#include "classic/memory/memory_map.h"
#include "memory/freeze_list.h"
#include "session/cheat_search.h"

// The search reads the memory of TOV's own machine.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tov::use_machine(tov::classic_machine);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::vector<std::string_view> texts;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = rest.find('\0');
        texts.push_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    texts.push_back(rest);

    const std::optional<int32_t> address = tov::parse_hex4(texts[0]);
    const std::optional<int32_t> value = tov::parse_hex2(texts[1]);
    if (address && value) {
        if (tov::freeze_count == tov::freeze_capacity) {
            tov::freeze_count = 0;
        }
        tov::add_freeze(*address, *value, texts[2]);
        (void)tov::freeze_line(tov::freeze_count - 1);
        (void)tov::read_byte(*address);
    }
    if (const std::optional<int32_t> typed = tov::parse_hex2(texts[3])) {
        if (tov::candidate_count == 0) {
            tov::start_search();
        }
        tov::narrow_search(tov::search_mode::equals_value, *typed);
        if (tov::candidate_count < 100) {
            (void)tov::candidate_lines();
        }
    }
    return 0;
}
