#include "inspect/symbols.h"

#include <algorithm>

#include "inspect/text_fields.h"

namespace tov {

namespace {

std::optional<symbol> symbol_of(std::string_view line) {
    const std::size_t colon = line.find(':');
    const std::size_t space = line.find_first_of(blanks);
    if (colon == std::string_view::npos || space == std::string_view::npos || colon > space) {
        return std::nullopt;
    }
    const std::optional<int> bank = hex_number(line.substr(0, colon), 4);
    const std::optional<int> address = hex_number(line.substr(colon + 1, space - colon - 1), 4);
    const std::string_view name = trimmed(line.substr(space));
    if (!bank || !address || name.empty() || name.find_first_of(blanks) != std::string_view::npos) {
        return std::nullopt;
    }
    return symbol{*bank, static_cast<uint16_t>(*address), std::string(name)};
}

}  // namespace

symbol_file read_symbols(std::string_view text) {
    symbol_file file;
    int number = 0;
    while (!text.empty()) {
        std::string_view line = next_line(text);
        ++number;
        line = trimmed(line.substr(0, line.find(';')));
        if (line.empty()) {
            continue;
        }
        if (const std::optional<symbol> found = symbol_of(line)) {
            file.symbols.push_back(*found);
        } else {
            file.skipped_lines.push_back(number);
        }
    }
    return file;
}

std::optional<symbol> find_symbol(const symbol_file& file, std::string_view name) {
    const auto found = std::find_if(file.symbols.begin(), file.symbols.end(),
                                    [name](const symbol& entry) { return entry.name == name; });
    if (found == file.symbols.end()) {
        return std::nullopt;
    }
    return *found;
}

}  // namespace tov
