#include "rom_runs.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

#include "runner.h"
#include "test_cartridge.h"

namespace tov::test {

std::filesystem::path public_roms() {
    return std::filesystem::path(TOV_SOURCE_DIR) / ".." / "shared" / "roms";
}

bool skipped_without(const std::filesystem::path& rom) {
    return !std::filesystem::exists(rom);
}

namespace {

std::string run_for(const std::filesystem::path& rom, int frames,
                    const std::vector<std::string>& options, std::vector<std::string> extra) {
    std::vector<std::string> arguments = {rom.string(), "--frames", std::to_string(frames)};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    std::ostringstream out;
    std::ostringstream error;
    EXPECT_EQ(run_headless(arguments, out, error), 0) << error.str();
    return out.str();
}

// The runner's exit status, with what it said on its error output.
int status_of(const std::filesystem::path& rom, const std::vector<std::string>& options,
              std::string& said) {
    std::vector<std::string> arguments = {rom.string()};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::ostringstream out;
    std::ostringstream error;
    const int status = run_headless(arguments, out, error);
    said = error.str();
    return status;
}

}  // namespace

int exit_status(const std::filesystem::path& rom, const std::vector<std::string>& options) {
    std::string said;
    return status_of(rom, options, said);
}

std::string runner_failure(const std::filesystem::path& rom,
                           const std::vector<std::string>& options) {
    std::string said;
    const int status = status_of(rom, options, said);
    return status == 0 ? std::string() : "status " + std::to_string(status) + ": " + said;
}

std::string final_screen(const std::filesystem::path& rom, int frames,
                         const std::vector<std::string>& options) {
    std::istringstream screen(run_for(rom, frames, options, {"--screen-text"}));
    std::string text;
    for (std::string line; std::getline(screen, line);) {
        if (!line.empty()) {
            text += line + "\n";
        }
    }
    return text;
}

std::string serial_output(const std::filesystem::path& rom, int frames,
                          const std::vector<std::string>& options) {
    const std::string file = temp_path(".serial");
    run_for(rom, frames, options, {"--serial", file});
    std::ifstream sent(file, std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(sent), {});
    std::filesystem::remove(file);
    return bytes;
}

std::string last_line(const std::string& text) {
    std::istringstream lines(text);
    std::string last;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            last = line;
        }
    }
    return last;
}

std::string test_name_of(const std::string& file) {
    std::string name = std::filesystem::path(file).replace_extension().string();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

}  // namespace tov::test
