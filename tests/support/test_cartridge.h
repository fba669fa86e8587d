// Cartridge images built inside a test: bytes placed at addresses, header
// fields set by name, written to a temporary file and loaded through the
// real load_cartridge.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "host/result.h"

namespace tov::test {

class test_cartridge {
public:
    // A blank image of `size` bytes (default: two banks, 32 KiB).
    explicit test_cartridge(std::size_t size = 0x8000);
    ~test_cartridge();
    test_cartridge(const test_cartridge&) = delete;
    test_cartridge& operator=(const test_cartridge&) = delete;

    // Header byte 0143: 80 or C0 make a colour cartridge.
    test_cartridge& colour_flag(uint8_t flag);
    // Header bytes 0134-0143, zero-padded.
    test_cartridge& title(std::string_view text);
    // Replaces the image with the assembled `source`; reports assembly errors
    // as test failures and returns false when there were any.
    bool assemble(std::string_view source);
    // Any single byte of the image, by file offset.
    test_cartridge& byte(std::size_t offset, uint8_t value);
    // A run of bytes from a file offset (code, data or header).
    test_cartridge& bytes(std::size_t offset, std::initializer_list<uint8_t> values);

    std::vector<uint8_t>& image() { return image_; }

    // Writes the image to its temporary file and returns the path.
    const std::string& write();
    // Writes the image, points rom_path at it, loads it and powers on.
    bool load();

private:
    std::vector<uint8_t> image_;
    std::string path_;
};

// A fresh path in the test's temporary folder; the file is not created.
std::string temp_path(std::string_view suffix);

// Every byte of a file (none when it cannot be read).
std::string file_bytes(const std::filesystem::path& path);

// Writes `bytes` to `path`, replacing it.
void write_bytes(const std::filesystem::path& path, const std::string& bytes);

// Puts the shared state that tests change back to its start values: no
// frozen addresses, no keys held, the default key map, a fake clock at 0,
// TOV's own machine in use.
void reset_test_state();

// Reads the cartridge that rom_path and rom_entry name again, or the one at
// `path`, and powers the machine in use on with it, as opening or Reset do.
result power_on_cartridge();
result power_on_cartridge(const std::string& path, const std::string& entry = {});

// A test with a blank cartridge loaded; monochrome unless the test loads
// another kind.
class machine_test : public testing::Test {
protected:
    void SetUp() override { load(0x00); }
    void load(uint8_t colour_flag) {
        reset_test_state();
        cartridge_.colour_flag(colour_flag);
        ASSERT_TRUE(cartridge_.load());
    }

    test_cartridge cartridge_;
};

}  // namespace tov::test
