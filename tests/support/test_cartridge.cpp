#include "test_cartridge.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "assembler.h"
#include "classic/machine/classic_machine.h"
#include "core/machine_interface.h"
#include "host/clock.h"
#include "host/keyboard.h"
#include "memory/cartridge.h"
#include "memory/freeze_list.h"
#include "memory/joypad.h"

namespace tov::test {

std::string temp_path(std::string_view suffix) {
    static int counter = 0;
    ++counter;
    return testing::TempDir() + "tov_test_" + std::to_string(getpid()) + "_" +
           std::to_string(counter) + std::string(suffix);
}

std::string file_bytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void reset_test_state() {
    freeze_count = 0;
    release_all_keys();
    key_map = default_key_map;
    extra_key_map = default_extra_keys;
    turbo_rate = default_turbo_rate;
    use_fake_clock(0);
    use_machine(classic_machine);
}

test_cartridge::test_cartridge(std::size_t size) : image_(size, 0), path_(temp_path(".gb")) {}

test_cartridge::~test_cartridge() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

test_cartridge& test_cartridge::colour_flag(uint8_t flag) {
    return byte(0x0143, flag);
}

test_cartridge& test_cartridge::title(std::string_view text) {
    for (std::size_t i = 0; i < 16; ++i) {
        byte(0x0134 + i, i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    }
    return *this;
}

bool test_cartridge::assemble(std::string_view source) {
    assembler::assembly result = assembler::assemble(source);
    for (const std::string& error : result.errors) {
        ADD_FAILURE() << "assembly: " << error;
    }
    image_ = std::move(result.image);
    return result.ok();
}

test_cartridge& test_cartridge::byte(std::size_t offset, uint8_t value) {
    if (offset >= image_.size()) {
        image_.resize(offset + 1, 0);
    }
    image_[offset] = value;
    return *this;
}

test_cartridge& test_cartridge::bytes(std::size_t offset, std::initializer_list<uint8_t> values) {
    for (const uint8_t value : values) {
        byte(offset++, value);
    }
    return *this;
}

const std::string& test_cartridge::write() {
    std::ofstream file(path_, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image_.data()),
               static_cast<std::streamsize>(image_.size()));
    return path_;
}

bool test_cartridge::load() {
    rom_path = write();
    rom_entry.clear();
    const result loaded = power_on_cartridge();
    EXPECT_TRUE(loaded.ok) << loaded.message;
    return loaded.ok;
}

namespace {

result powered_on(const result& loaded) {
    if (loaded.ok) {
        machine().power_on(model_choice::automatic, false);
    }
    return loaded;
}

}  // namespace

result power_on_cartridge() {
    return powered_on(load_cartridge());
}

result power_on_cartridge(const std::string& path, const std::string& entry) {
    return powered_on(load_cartridge_file(path, entry));
}

}  // namespace tov::test
