// Shared set-up of the fuzz targets: a scratch file for inputs that the
// program reads from files, and a machine ready to run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tov::fuzz {

// Writes the input to a scratch file of this process and returns its path.
const std::string& write_scratch_file(const uint8_t* data, std::size_t size,
                                      const std::string& name);

// The fake clock, an in-memory sound device, no keys held; done once.
void prepare_host();

// The demo cartridge's file, assembled from its source the first time.
const std::string& demo_cartridge();

// Powers the machine on with the demo cartridge.
void load_demo_cartridge();

// Opens the demo cartridge at the seam, on the accurate machine or on TOV's
// own, with the host prepared.
void open_demo(bool accurate);

// Runs `steps` run-loop steps in each timing variant, pressing and releasing
// buttons as the `keys` bytes say (one byte every `steps / 8` steps).
void run_both_variants(int steps, const uint8_t* keys, std::size_t key_count);

}  // namespace tov::fuzz
