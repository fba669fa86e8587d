// Text typed into the key-mapping dialog: any bytes become a key code, and
// the code's name is shown again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/key_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int32_t code = tov::key_code_from_name(text);
    (void)tov::key_name(code);
    return 0;
}
