// The loaded cartridge's cheat codes: kept in CHEATS/<cartridge name>.cht
// beside the quick states, read when the cartridge is opened, and in force
// on either machine while they are switched on.
#include <filesystem>

#include "cheats/code_effects.h"
#include "host/files.h"
#include "host/paths.h"
#include "session/cheat_list.h"
#include "session/session.h"

namespace tov {

namespace {

std::vector<cheat_entry> entries;

// A cheat file is a few lines; a longer one is not a cheat file.
constexpr std::size_t longest_cheat_file = 1 << 20;

std::filesystem::path cheat_file() {
    return program_folder() / "CHEATS" / (cartridge_name() + ".cht");
}

void put_in_force() {
    std::vector<cheat_code> codes;
    for (const cheat_entry& entry : entries) {
        const decoded_cheat decoded = decode_cheat(entry.code);
        if (entry.enabled && decoded.code) {
            codes.push_back(*decoded.code);
        }
    }
    use_cheat_codes(codes);
}

}  // namespace

const std::vector<cheat_entry>& cheat_list() {
    return entries;
}

void use_cheat_list(const std::vector<cheat_entry>& list) {
    entries = list;
    put_in_force();
}

result save_cheat_list() {
    const std::filesystem::path path = cheat_file();
    // A folder that cannot be made fails the write, which says so.
    create_folder_for(path);
    return headed("The cheat codes could not be saved.",
                  write_file_atomically(path, cheat_file_text(entries)));
}

std::string read_cheat_list() {
    const file_head file = read_file_head(cheat_file(), longest_cheat_file);
    if (!file.outcome.ok) {
        use_cheat_list({});
        return file.missing ? std::string()
                            : "The cheat codes were not read: " + file.outcome.message;
    }
    std::vector<int> skipped;
    use_cheat_list(read_cheat_file_text(file.content, skipped));
    if (skipped.empty()) {
        return {};
    }
    return std::to_string(skipped.size()) + " line(s) of " + cheat_file().filename().string() +
           " are not cheat codes and were skipped, the first at line " +
           std::to_string(skipped.front());
}

}  // namespace tov
