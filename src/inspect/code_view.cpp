#include "inspect/code_view.h"

#include "inspect/disassembler.h"
#include "inspect/view_text.h"

namespace tov {

namespace {

// How far back decoding starts to find the instruction before an address:
// far enough for the decoding to fall into step with the code.
constexpr int resync_bytes = 16;

bool switched(uint16_t address) {
    return (address >= 0x4000 && address < 0xC000) || (address >= 0xD000 && address < 0xE000);
}

std::string byte_text(const code_source& source, uint16_t address, int length) {
    std::string text;
    for (int i = 0; i < length; ++i) {
        const int value = source.byte_at(static_cast<uint16_t>(address + i));
        text += (i ? " " : "") + (value >= 0 && value <= 0xFF ? hex_text(value, 2) : "??");
    }
    return text;
}

uint16_t one_back(uint16_t address, const code_source& source) {
    for (int start = resync_bytes; start > 0; --start) {
        int at = address - start;
        while (at < address) {
            const instruction step =
                disassemble(static_cast<uint16_t>(at), source.byte_at, source.label_of);
            if (at + step.length == address) {
                return static_cast<uint16_t>(at);
            }
            at += step.length;
        }
    }
    return static_cast<uint16_t>(address - 1);
}

}  // namespace

symbol_index::symbol_index(const symbol_file& file) {
    for (const symbol& entry : file.symbols) {
        names_.emplace(static_cast<uint32_t>(entry.bank) << 16 | entry.address, entry.name);
        any_bank_.emplace(entry.address, entry.name);
    }
}

std::string symbol_index::name_at(int bank, uint16_t address) const {
    if (const auto found = names_.find(static_cast<uint32_t>(bank) << 16 | address);
        found != names_.end()) {
        return found->second;
    }
    if (const auto found = any_bank_.find(address);
        found != any_bank_.end() && !switched(address)) {
        return found->second;
    }
    return {};
}

std::vector<code_line> code_lines(uint16_t first, int count, const code_source& source) {
    std::vector<code_line> lines;
    uint16_t address = first;
    for (int i = 0; i < count; ++i) {
        const instruction step = disassemble(address, source.byte_at, source.label_of);
        lines.push_back({address, source.label_of ? source.label_of(address) : std::string(),
                         byte_text(source, address, step.length), step.text, step.target});
        address = static_cast<uint16_t>(address + step.length);
    }
    return lines;
}

uint16_t code_before(uint16_t address, int lines, const code_source& source) {
    for (int i = 0; i < lines; ++i) {
        address = one_back(address, source);
    }
    return address;
}

}  // namespace tov
