// A cartridge image of any content, loaded and run in both timing variants
// while buttons change.
#include <cstddef>
#include <cstdint>

#include "core/machine_interface.h"
#include "fuzz_support.h"
#include "memory/cartridge.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tov::fuzz::prepare_host();
    if (!tov::load_cartridge_file(tov::fuzz::write_scratch_file(data, size, "cartridge.gb")).ok) {
        return 0;
    }
    tov::machine().power_on(tov::model_choice::automatic, false);
    // The header area doubles as the button script.
    const std::size_t keys = size > 0x150 ? 0x50 : 0;
    tov::fuzz::run_both_variants(4000, data + 0x100, keys);
    return 0;
}
