// Any file read as an archive: its first cartridge entries listed and read no
// further than the largest cartridge, then the first opened as a cartridge.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "host/archive.h"
#include "memory/cartridge.h"

namespace {

// Reading an entry walks the archive up to it; a few are enough to reach
// every path of the reader.
constexpr std::size_t entries_read = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tov::fuzz::prepare_host();
    // A gzip stream is named after its file: this name makes it a cartridge.
    const std::string& path = tov::fuzz::write_scratch_file(data, size, "archive.gb.gz");
    std::vector<std::string> names;
    if (!tov::list_archive_cartridges(path, names).ok) {
        return 0;
    }
    const std::size_t limit = tov::max_cartridge_size + 1;
    for (std::size_t index = 0; index < names.size() && index < entries_read; ++index) {
        std::vector<uint8_t> bytes;
        const bool read = tov::read_archive_entry(path, names[index], limit, bytes).ok;
        if (bytes.size() > limit || (!read && !bytes.empty())) {
            __builtin_trap();  // more than asked for, or bytes kept from a refused entry
        }
    }
    tov::load_cartridge_file(path);
    return 0;
}
