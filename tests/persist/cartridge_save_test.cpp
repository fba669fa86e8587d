// The battery files other emulators share: raw RAM of the cartridge's size,
// then a clock block, on the accurate machine; and importing and exporting
// them on both machines.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <iterator>

#include "accurate/machine/accurate_machine.h"
#include "accurate/run/console.h"
#include "cartridge/real_time_clock.h"
#include "cartridge/slot.h"
#include "classic/machine/classic_machine.h"
#include "classic/state/battery.h"
#include "machine/memory.h"
#include "persist/cartridge_save.h"
#include "persist_fixture.h"

namespace tov {
namespace {

class CartridgeSaveTest : public test::persist_test {
protected:
    // A cartridge of header type `type` and RAM size code `ram`, on the
    // accurate machine or TOV's own.
    void load_board(uint8_t type, uint8_t ram, bool accurate) {
        cartridge_.byte(0x0147, type).byte(0x0149, ram);
        ASSERT_TRUE(cartridge_.load());
        use_machine(accurate ? accurate_machine : classic_machine);
        if (accurate) {
            power_on_accurate_machine(model_choice::monochrome, false);
        }
    }
};

// A byte pattern that differs from bank to bank.
uint8_t pattern(int32_t index) {
    return static_cast<uint8_t>(index * 7 + index / 0x2000);
}

struct layout_case {
    const char* name;
    uint8_t type, ram;
    std::size_t file_size;  // 0: no file, the cartridge has no battery
};

const layout_case layouts[] = {
    {"MBC1 with 32 KiB", 0x03, 0x03, 0x8000},
    {"MBC2 cells", 0x06, 0x00, 0x200},
    {"MBC3 with a clock", 0x10, 0x02, 0x2000 + clock_block_size},
    {"MBC5 with 128 KiB", 0x1B, 0x04, 0x20000},
    {"MBC5 without a battery", 0x1A, 0x03, 0},
};

class CartridgeSaveLayout : public CartridgeSaveTest,
                            public testing::WithParamInterface<layout_case> {};

TEST_P(CartridgeSaveLayout, IsTheRawRamAndComesBack) {
    const layout_case& layout = GetParam();
    load_board(layout.type, layout.ram, true);
    const bool cells = layout.type == 0x06;
    for (int32_t i = 0; i < cartridge_ram_size; ++i) {
        cartridge_ram[i] = cells ? pattern(i) & 0x0F : pattern(i);
    }
    const result written = save_cartridge_ram("game.gb");
    ASSERT_TRUE(written.ok) << written.message;
    const std::filesystem::path path = home_ / "BATTERY" / "game.sav";
    if (layout.file_size == 0) {
        EXPECT_FALSE(std::filesystem::exists(path));
        return;
    }
    const std::string file = test::file_bytes(path);
    ASSERT_EQ(file.size(), layout.file_size);
    for (std::size_t i = 0; i < std::min<std::size_t>(file.size(), board.ram_size); ++i) {
        ASSERT_EQ(static_cast<uint8_t>(file[i]), cartridge_ram[i]) << "at " << i;
    }
    const std::vector<uint8_t> saved(cartridge_ram, cartridge_ram + board.ram_size);
    std::fill(std::begin(cartridge_ram), std::end(cartridge_ram), 0);
    const result loaded = load_cartridge_ram("game.gb");
    ASSERT_TRUE(loaded.ok) << loaded.message;
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), cartridge_ram));
}

INSTANTIATE_TEST_SUITE_P(Boards, CartridgeSaveLayout, testing::ValuesIn(layouts),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !isalnum(c); }, '_');
                             return name;
                         });

// A block as other emulators write it, by hand: day 511 at 00:00:05, saved
// a day and ten seconds ago. Loading counts that time on: day 512 wraps to
// 0 and sets the carry.
TEST_F(CartridgeSaveTest, ClockBlockCountsTheTimeTheGameWasClosed) {
    load_board(0x10, 0x02, true);
    std::string file(0x2000, '\x5A');
    const auto word = [&file](uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
        }
    };
    for (const uint32_t live : {5, 0, 0, 0xFF, 0x01}) {
        word(live, 4);
    }
    for (const uint32_t latched : {1, 2, 3, 4, 0}) {
        word(latched, 4);
    }
    word(static_cast<uint64_t>(std::time(nullptr)) - 86410, 8);
    std::filesystem::create_directories(home_ / "BATTERY");
    test::write_bytes(home_ / "BATTERY" / "clock.sav", file);

    const result loaded = load_cartridge_ram("clock.gb");
    ASSERT_TRUE(loaded.ok) << loaded.message;
    EXPECT_EQ(cartridge_ram[0x1FFF], 0x5A);
    EXPECT_GE(rtc.live.seconds, 15);
    EXPECT_LE(rtc.live.seconds, 16) << "a second may pass while the test runs";
    EXPECT_EQ(rtc.live.minutes, 0);
    EXPECT_EQ(rtc.live.hours, 0);
    EXPECT_EQ(rtc.live.days_low, 0);
    EXPECT_EQ(rtc.live.days_high, 0x80) << "day 0 with the carry";
    EXPECT_EQ(rtc.latched.hours, 3) << "the latched copy is kept as saved";
}

// Before the accurate machine has a file of its own for the game, it takes
// up the RAM of TOV's own machine's battery file, so that the save follows.
TEST_F(CartridgeSaveTest, TakesUpTheOwnMachinesFileWhileItHasNone) {
    load_board(0x03, 0x03, true);
    std::string file(battery_file_size, '\0');
    for (std::size_t i = 0; i < file.size(); ++i) {
        file[i] =
            static_cast<char>(pattern(static_cast<int32_t>(i / 0x2001 * 0x2000 + i % 0x2001)));
    }
    std::filesystem::create_directories(battery_path().parent_path());
    test::write_bytes(battery_path(), file);

    const result loaded = load_cartridge_ram("game.gb");
    ASSERT_TRUE(loaded.ok) << loaded.message;
    for (int32_t i = 0; i < 0x8000; ++i) {
        ASSERT_EQ(cartridge_ram[i], pattern(i)) << "at " << i;
    }
}

struct import_case {
    const char* name;
    bool accurate;
    std::size_t size;  // of the file imported
    bool own_layout;   // laid out as TOV's own machine's battery file
    bool taken;
};

const import_case imports[] = {
    {"raw on the accurate machine", true, 0x8000, false, true},
    {"raw with a clock block", true, 0x8000 + clock_block_size, false, true},
    {"own machine's file on the accurate machine", true, battery_file_size, true, true},
    {"raw on TOV's own machine", false, 0x8000, false, true},
    {"too short", true, 0x7FFF, false, false},
    {"too long", false, 0x8001, false, false},
    {"empty", true, 0, false, false},
};

class BatteryImport : public CartridgeSaveTest, public testing::WithParamInterface<import_case> {};

// Byte i of the RAM, on either machine.
uint8_t ram_at(bool accurate, int32_t i) {
    return accurate ? cartridge_ram[i] : cart_ram[(i % 0x2000) * cart_ram_bank_count + i / 0x2000];
}

TEST_P(BatteryImport, TakesAFileThatFitsAndKeepsTheSaveOtherwise) {
    const import_case& test = GetParam();
    load_board(0x03, 0x03, test.accurate);
    std::string file(test.size, '\0');
    for (std::size_t i = 0; i < file.size(); ++i) {
        const std::size_t index = test.own_layout ? i / 0x2001 * 0x2000 + i % 0x2001 : i;
        file[i] = static_cast<char>(pattern(static_cast<int32_t>(index)));
    }
    const std::filesystem::path path = home_ / "other.sav";
    test::write_bytes(path, file);
    std::fill(std::begin(cartridge_ram), std::end(cartridge_ram), 0xEE);
    std::fill(std::begin(cart_ram), std::end(cart_ram), 0xEE);

    const result imported = import_battery(path);
    EXPECT_EQ(imported.ok, test.taken) << imported.message;
    for (int32_t i = 0; i < 0x8000; ++i) {
        ASSERT_EQ(ram_at(test.accurate, i), test.taken ? pattern(i) : 0xEE) << "at " << i;
    }
    if (!test.taken) {
        EXPECT_NE(imported.message.find("The save in use is kept"), std::string::npos)
            << imported.message;
        return;
    }
    const std::filesystem::path exported = home_ / "exported.sav";
    const result written = export_battery(exported);
    ASSERT_TRUE(written.ok) << written.message;
    const std::string out = test::file_bytes(exported);
    ASSERT_EQ(out.size(), 0x8000u) << "raw RAM, without the clock a board without one lacks";
    for (int32_t i = 0; i < 0x8000; ++i) {
        ASSERT_EQ(static_cast<uint8_t>(out[i]), pattern(i)) << "at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BatteryImport, testing::ValuesIn(imports), [](const auto& info) {
    std::string name = info.param.name;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !isalnum(c); }, '_');
    return name;
});

}  // namespace
}  // namespace tov
