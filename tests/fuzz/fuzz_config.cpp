// A configuration file of any content, read as the key mapping, which the
// joypad register and the key-mapping dialog's names then use.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "classic/memory/memory_map.h"
#include "fuzz_support.h"
#include "host/key_names.h"
#include "host/keyboard.h"
#include "memory/joypad.h"
#include "persist/config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool home_set = [] {
        const std::filesystem::path home = std::filesystem::temp_directory_path() / "tov_fuzz_home";
        std::filesystem::create_directories(home);
        return setenv("TOV_HOME", home.c_str(), 1) == 0;
    }();
    (void)home_set;
    const std::string path = tov::config_path().string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    tov::key_map = tov::default_key_map;
    tov::load_config();
    for (const int32_t code : tov::key_map) {
        tov::key_down(code);
        (void)tov::key_name(code);
    }
    for (const uint8_t row : {0x10, 0x20, 0x30, 0x00}) {
        tov::write_byte(0xFF00, row);
        (void)tov::read_byte(0xFF00);
    }
    tov::release_all_keys();
    return 0;
}
