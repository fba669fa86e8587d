#include "persist/config.h"

#include <cstdio>
#include <string>

#include "host/files.h"
#include "host/paths.h"
#include "memory/joypad.h"

namespace tov {

namespace {

// Each line: a 7-character label, "= ", the key code as one byte, a line feed.
constexpr const char* labels[button_count] = {"UP     ", "DOWN   ", "LEFT   ", "RIGHT  ",
                                              "A      ", "B      ", "START  ", "SELECT "};
constexpr int key_column = 9;

int32_t upper_case(signed char character) {
    return character >= 'a' && character <= 'z' ? character - 'a' + 'A' : character;
}

}  // namespace

std::filesystem::path config_path() {
    return program_folder() / "TOV.cfg";
}

void load_config() {
    std::FILE* file = std::fopen(config_path().c_str(), "rb");
    if (!file) {
        return;
    }
    char line[64];
    for (int button = 0; button < button_count; ++button) {
        if (!std::fgets(line, sizeof line, file)) {
            break;
        }
        const std::string text(line);
        if (text.size() > key_column && text[key_column] != '\n') {
            key_map[button] = upper_case(static_cast<signed char>(text[key_column]));
        }
    }
    std::fgets(line, sizeof line, file);  // the empty ninth line
    std::fclose(file);
}

result save_config() {
    std::string content;
    for (int button = 0; button < button_count; ++button) {
        content += labels[button];
        content += "= ";
        content += static_cast<char>(key_map[button] & 0xFF);
        content += '\n';
    }
    content += '\n';
    // The user is told which file; the system's reason is left out.
    if (!write_file_atomically(config_path(), content).ok) {
        return failure("the key mapping could not be saved to " + config_path().string());
    }
    return {};
}

}  // namespace tov
