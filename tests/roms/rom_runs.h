// The public test cartridges in ../shared/roms, run whole through the
// headless runner: each suite is one table of cartridges with the outcome
// each has, and a cartridge that is not there is skipped with a message.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tov::test {

// The folder of the public test cartridges.
std::filesystem::path public_roms();

// Skips the running test (returning true) when `rom` is not there.
bool skipped_without(const std::filesystem::path& rom);

// The screen's non-empty lines after `frames` frames of `rom` with the
// runner's `options` (the machine, for one).
std::string final_screen(const std::filesystem::path& rom, int frames,
                         const std::vector<std::string>& options = {});

// Everything `rom` sent through the serial port in `frames` frames.
std::string serial_output(const std::filesystem::path& rom, int frames,
                          const std::vector<std::string>& options);

// The runner's exit status for `rom` with `options`.
int exit_status(const std::filesystem::path& rom, const std::vector<std::string>& options);

// Empty when the runner passes `rom` with `options` (its expectations met);
// else what it said on its error output, with the exit status.
std::string runner_failure(const std::filesystem::path& rom,
                           const std::vector<std::string>& options);

// The last line of `text` that is not empty, without its newline.
std::string last_line(const std::string& text);

// A test name from a cartridge's file: its path's letters and digits.
std::string test_name_of(const std::string& file);

}  // namespace tov::test
