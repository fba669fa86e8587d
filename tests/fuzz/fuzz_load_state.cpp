// A save state of any content, only loaded: the demo is opened once, on the
// machine whose format the program loads (TOV_LOAD_ACCURATE 1: the accurate
// machine's sectioned states, 0: TOV's own fixed-size ones), and each input
// is then taken up or refused at the seam, many times a second, while the
// sanitizers watch the loader's bounds and every record's settling.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "session/session.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tov::fuzz::open_demo(TOV_LOAD_ACCURATE == 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tov::load_state_bytes(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
