// A save-state file of any content, loaded into a running machine, which
// then runs on in both timing variants.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "session/session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tov::fuzz::prepare_host();
    tov::fuzz::load_demo_cartridge();
    tov::load_state_file(tov::fuzz::write_scratch_file(data, size, "state.gst"));
    const std::size_t keys = size > 16 ? 16 : size;
    tov::fuzz::run_both_variants(3000, data, keys);
    return 0;
}
