#include "headless_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "runner.h"

namespace tov::test {

run_result run(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream error;
    const int code = run_headless(arguments, out, error);
    return {code, out.str(), error.str()};
}

std::string cartridge_file(const std::string& name) {
    return (std::filesystem::path(TOV_SOURCE_DIR) / "tests" / "cartridges" / name).string();
}

std::string source_of(const std::string& name) {
    std::ifstream file(cartridge_file(name));
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

assembled_cartridge::assembled_cartridge(const std::string& source,
                                         const std::vector<image_patch>& patches) {
    EXPECT_TRUE(cartridge_.assemble(source));
    for (const image_patch& patch : patches) {
        cartridge_.byte(patch.offset, patch.value);
    }
    path = cartridge_.write();
}

std::string serial_sent(const std::string& path, int frames) {
    const std::string sent_file = temp_path(".serial");
    const run_result result = run(
        {path, "--machine", "accurate", "--frames", std::to_string(frames), "--serial", sent_file});
    EXPECT_EQ(result.code, 0) << result.error;
    const std::string bytes = file_bytes(sent_file);
    std::filesystem::remove(sent_file);
    return bytes;
}

wav_sound read_wav(const std::string& path) {
    const std::string bytes = file_bytes(path);
    if (bytes.size() < 44 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 8) != "WAVEfmt ") {
        ADD_FAILURE() << path << " is not a WAV file";
        return {};
    }
    const auto field = [&](std::size_t at, std::size_t size) {
        uint32_t value = 0;
        std::memcpy(&value, bytes.data() + at, size);
        return value;
    };
    EXPECT_EQ(field(22, 2), 2u) << "stereo";
    EXPECT_EQ(field(34, 2), 16u) << "16-bit";
    wav_sound sound;
    sound.rate = static_cast<int>(field(24, 4));
    for (std::size_t at = 44; at + 4 <= bytes.size(); at += 4) {
        int16_t left;
        int16_t right;
        std::memcpy(&left, bytes.data() + at, 2);
        std::memcpy(&right, bytes.data() + at + 2, 2);
        sound.left.push_back(left);
        sound.right.push_back(right);
    }
    return sound;
}

double measured_frequency(const std::vector<int16_t>& samples, int rate, double from, double to) {
    const std::size_t first = std::min(samples.size(), static_cast<std::size_t>(from * rate));
    const std::size_t end =
        to > 0 ? std::min(samples.size(), static_cast<std::size_t>(to * rate)) : samples.size();
    if (end < first + 2) {
        return 0;
    }
    double mean = 0;
    for (std::size_t i = first; i < end; ++i) {
        mean += samples[i];
    }
    mean /= static_cast<double>(end - first);
    // A crossing counts only after the samples went an eighth of their range
    // below the mean, so that ripples around it are not taken for periods.
    const auto [low, high] =
        std::minmax_element(samples.begin() + static_cast<std::ptrdiff_t>(first),
                            samples.begin() + static_cast<std::ptrdiff_t>(end));
    const double below = mean - (*high - *low) / 8.0;
    bool armed = false;
    double first_crossing = -1;
    double last_crossing = -1;
    int crossings = 0;
    for (std::size_t i = first + 1; i < end; ++i) {
        const double before = samples[i - 1] - mean;
        const double after = samples[i] - mean;
        if (samples[i] < below) {
            armed = true;
        } else if (armed && before < 0 && after >= 0) {
            const double at = static_cast<double>(i - 1) + before / (before - after);
            first_crossing = crossings == 0 ? at : first_crossing;
            last_crossing = at;
            ++crossings;
            armed = false;
        }
    }
    return crossings < 2 ? 0 : (crossings - 1) * rate / (last_crossing - first_crossing);
}

}  // namespace tov::test
