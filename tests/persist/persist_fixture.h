// Shared set-up of the battery and save-state tests: a blank cartridge, a
// program folder of the test's own, the battery and state operations with
// the messages they give recorded, and ways to make writing into a folder
// fail.
#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "test_cartridge.h"

namespace tov::test {

class persist_test : public machine_test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes `folder` refuse new files; false when this user can write there
    // anyway (the superuser ignores folder permissions).
    bool make_read_only(const std::filesystem::path& folder);

    // Lets this process write files of at most `bytes`, as a full disk would.
    void limit_file_size(rlim_t bytes);

    // Undoes make_read_only and limit_file_size (TearDown does it too).
    void lift_obstacles();

    // With a read-only folder and with a full disk in turn: `save` over an
    // old `file` of `size` bytes tells the user which file failed, and the
    // old file stays whole, with no temporary file left beside it.
    void expect_failed_save_keeps_old_file(const std::filesystem::path& file, std::size_t size,
                                           const std::function<void()>& save);

    // Exactly one message since the last clear, and it names `name`.
    void expect_one_message_naming(const std::string& name);

    // The battery file of the loaded cartridge, and the state file at
    // state_path; a message a failure gives goes to `messages`.
    void save_battery();
    void load_battery();
    void save_state();
    void load_state();

    std::filesystem::path home_;
    std::string state_path;
    std::vector<std::string> messages;

private:
    std::vector<std::filesystem::path> read_only_;
    bool limited_ = false;
    rlimit old_limit_{};
};

// The names of the files in `folder`, sorted.
std::vector<std::string> folder_entries(const std::filesystem::path& folder);

// Everything a save state or battery file can change, copied out of the
// machine: registers, bank state, timer state, colour tables and memories.
std::vector<int32_t> machine_snapshot();

// The first index where two snapshots differ, or -1 when they are equal.
long first_difference(const std::vector<int32_t>& a, const std::vector<int32_t>& b);

}  // namespace tov::test
