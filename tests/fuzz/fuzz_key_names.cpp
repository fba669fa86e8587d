// Text typed into the key-mapping dialog or kept in the settings: any bytes
// become a key code, and the code's name and label are shown again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/key_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)tov::key_name(tov::key_code_from_name(text));
    (void)tov::key_label(tov::key_code_from_label(text));
    return 0;
}
