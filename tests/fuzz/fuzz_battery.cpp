// A battery file of any content, read after the cartridge is opened, which
// then runs in both timing variants.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "classic/state/battery.h"
#include "fuzz_support.h"
#include "session/session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool home_set = [] {
        const std::filesystem::path home =
            std::filesystem::temp_directory_path() / "tov_fuzz_battery_home";
        std::filesystem::create_directories(home / "BATTERY");
        return setenv("TOV_HOME", home.c_str(), 1) == 0;
    }();
    (void)home_set;
    tov::fuzz::prepare_host();
    tov::fuzz::load_demo_cartridge();
    std::FILE* file = std::fopen(tov::battery_path().c_str(), "wb");
    if (!file) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    tov::read_battery_file();
    const std::size_t keys = size > 16 ? 16 : size;
    tov::fuzz::run_both_variants(3000, data, keys);
    return 0;
}
