// Running the headless runner inside a test: its command line, the project's
// test cartridges assembled from source, and the PNG pictures it writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "png_picture.h"
#include "test_cartridge.h"

namespace tov::test {

struct run_result {
    int code;
    std::string out;
    std::string error;
};

// Runs tov-headless with `arguments` (without the program name).
run_result run(const std::vector<std::string>& arguments);

// The path of a file in tests/cartridges.
std::string cartridge_file(const std::string& name);

// The text of a file in tests/cartridges.
std::string source_of(const std::string& name);

// A byte of a cartridge image changed after assembly, by file offset.
struct image_patch {
    std::size_t offset;
    uint8_t value;
};

// An assembled cartridge, with `patches` applied, written to a temporary file.
class assembled_cartridge {
public:
    explicit assembled_cartridge(const std::string& source,
                                 const std::vector<image_patch>& patches = {});
    std::string path;

private:
    test_cartridge cartridge_;
};

// The bytes the serial port of the accurate machine sent while it ran the
// cartridge at `path` for `frames` frames (a failed run is a test failure).
std::string serial_sent(const std::string& path, int frames);

// A 16-bit stereo WAV file written by the runner: its sample rate and the
// samples of each side (empty when it cannot be read, which the reader
// reports as a test failure).
struct wav_sound {
    int rate = 0;
    std::vector<int16_t> left;
    std::vector<int16_t> right;
};

wav_sound read_wav(const std::string& path);

// The frequency of `samples`, taken `rate` times a second, between `from` and
// `to` seconds (`to` 0: the end), from the first to the last rising crossing
// of their mean there, each placed between its two samples (a crossing
// counts once the samples were well below the mean).
double measured_frequency(const std::vector<int16_t>& samples, int rate, double from = 0.1,
                          double to = 0);

}  // namespace tov::test
