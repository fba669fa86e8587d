#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "assembler.h"
#include "classic/run/run_loop.h"
#include "core/machine_interface.h"
#include "host/clock.h"
#include "host/keyboard.h"
#include "host/memory_audio.h"
#include "machine/options.h"
#include "machine/shell_flags.h"
#include "memory/cartridge.h"
#include "memory/joypad.h"
#include "run/frame_driver.h"
#include "session/session.h"
#include "sound/channels.h"
#include "sound/output_device.h"

namespace tov::fuzz {

const std::string& write_scratch_file(const uint8_t* data, std::size_t size,
                                      const std::string& name) {
    static std::string path;
    path = (std::filesystem::temp_directory_path() /
            ("tov_fuzz_" + std::to_string(getpid()) + "_" + name))
               .string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

void prepare_host() {
    static bool prepared = false;
    if (prepared) {
        return;
    }
    prepared = true;
    start_session(std::make_unique<memory_audio>(false));
}

const std::string& demo_cartridge() {
    static const std::string path = [] {
        std::ifstream file(std::filesystem::path(TOV_SOURCE_DIR) / "apps/tov/demo/demo.asm");
        std::stringstream source;
        source << file.rdbuf();
        const assembler::assembly demo = assembler::assemble(source.str());
        return write_scratch_file(demo.image.data(), demo.image.size(), "demo.gb");
    }();
    return path;
}

void load_demo_cartridge() {
    if (load_cartridge_file(demo_cartridge()).ok) {
        machine().power_on(model_choice::automatic, false);
    }
}

void open_demo(bool accurate) {
    prepare_host();
    set_machine(accurate, model_choice::automatic);
    open_cartridge(demo_cartridge());
}

void run_both_variants(int steps, const uint8_t* keys, std::size_t key_count) {
    use_fake_clock(0, 1);
    release_all_keys();
    rom_loaded = 1;
    emulation_running = 1;
    full_throttle = 0;
    const int key_period = steps / 8 > 0 ? steps / 8 : 1;
    for (int variant = 0; variant < 2; ++variant) {
        timing_variant = variant;
        for (int step = 0; step < steps; ++step) {
            if (step % key_period == 0 && key_count > 0) {
                const uint8_t held = keys[(step / key_period + variant * 8) % key_count];
                for (int button = 0; button < button_count; ++button) {
                    if (held & (1 << button)) {
                        key_down(key_map[button]);
                    } else {
                        key_up(key_map[button]);
                    }
                }
            }
            run_step();
        }
    }
    timing_variant = 0;
    release_all_keys();
}

}  // namespace tov::fuzz
