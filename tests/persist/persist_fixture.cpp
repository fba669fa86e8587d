#include "persist_fixture.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

#include "classic/memory/memory_map.h"
#include "classic/state/battery.h"
#include "classic/state/save_state.h"
#include "machine/cpu_state.h"
#include "machine/timing.h"
#include "memory/io_registers.h"

namespace tov::test {

void persist_test::SetUp() {
    home_ = temp_path("_home");
    std::filesystem::create_directories(home_);
    setenv("TOV_HOME", home_.c_str(), 1);
    machine_test::SetUp();
}

void persist_test::TearDown() {
    lift_obstacles();
    unsetenv("TOV_HOME");
    std::filesystem::remove_all(home_);
}

bool persist_test::make_read_only(const std::filesystem::path& folder) {
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    read_only_.push_back(folder);
    const std::filesystem::path probe = folder / "probe";
    if (std::ofstream(probe)) {
        std::filesystem::remove(probe);
        return false;
    }
    return true;
}

void persist_test::limit_file_size(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    getrlimit(RLIMIT_FSIZE, &old_limit_);
    rlimit limit = old_limit_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    limited_ = true;
}

void persist_test::lift_obstacles() {
    if (limited_) {
        setrlimit(RLIMIT_FSIZE, &old_limit_);
        limited_ = false;
    }
    for (const std::filesystem::path& folder : read_only_) {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    }
    read_only_.clear();
}

void persist_test::expect_failed_save_keeps_old_file(const std::filesystem::path& file,
                                                     std::size_t size,
                                                     const std::function<void()>& save) {
    const std::filesystem::path folder = file.parent_path();
    struct obstacle {
        const char* name;
        std::function<bool()> set_up;  // false: this machine cannot set it up
    };
    const obstacle obstacles[] = {
        {"read-only folder", [&] { return make_read_only(folder); }},
        {"full disk",
         [&] {
             limit_file_size(4096);
             return true;
         }},
    };
    const std::string old_file(size, '\xEE');
    for (const obstacle& case_ : obstacles) {
        SCOPED_TRACE(case_.name);
        std::filesystem::create_directories(folder);
        write_bytes(file, old_file);
        messages.clear();
        if (!case_.set_up()) {
            std::cout << "not checked, this user writes anyway: " << case_.name << "\n";
            continue;
        }
        save();
        lift_obstacles();
        expect_one_message_naming(file.string());
        EXPECT_EQ(file_bytes(file), old_file);
        EXPECT_EQ(folder_entries(folder), std::vector<std::string>{file.filename().string()})
            << "no temporary file is left behind";
    }
}

namespace {

// Keeps the message of a battery or state operation that failed.
void record(const tov::result& outcome, std::vector<std::string>& messages) {
    if (!outcome.ok) {
        messages.push_back(outcome.message);
    }
}

}  // namespace

void persist_test::save_battery() {
    record(tov::save_battery(), messages);
}

void persist_test::load_battery() {
    record(tov::load_battery(), messages);
}

void persist_test::save_state() {
    record(tov::save_state(state_path), messages);
}

void persist_test::load_state() {
    record(tov::load_state(state_path), messages);
}

void persist_test::expect_one_message_naming(const std::string& name) {
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(name), std::string::npos) << messages[0];
}

std::vector<std::string> folder_entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<int32_t> machine_snapshot() {
    std::vector<int32_t> values = {
        AF.value,       BC.value,        DE.value,        HL.value,    SP.value,
        PC.value,       flag_z,          flag_n,          flag_h,      flag_c,
        ram_enable,     ram_bank,        rom_bank,        wram_bank,   speed_shift,
        tima_cycles,    tima_period,     timer_running,   stop_flag,   ime,
        lcdc_bg_on,     lcdc_obj_on,     lcdc_lcd_on,     lcdc_win_on, lcdc_obj_tall,
        lcdc_bg_map_hi, lcdc_tiles_8000, lcdc_win_map_hi,
    };
    const auto append = [&values](const auto& memory) {
        values.insert(values.end(), std::begin(memory), std::end(memory));
    };
    append(bg_colours);
    append(obj_colours);
    append(vram);
    append(cart_ram);
    append(wram0);
    append(wram_banks);
    append(echo_ram);
    append(oam);
    append(io_page);
    return values;
}

long first_difference(const std::vector<int32_t>& a, const std::vector<int32_t>& b) {
    if (a.size() != b.size()) {
        return static_cast<long>(std::min(a.size(), b.size()));
    }
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin());
    return mismatch.first == a.end() ? -1 : static_cast<long>(mismatch.first - a.begin());
}

}  // namespace tov::test
