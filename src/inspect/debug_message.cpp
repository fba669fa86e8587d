#include "inspect/debug_message.h"

#include "inspect/register_values.h"
#include "inspect/view_text.h"
#include "machine/cpu_state.h"

namespace tov {

namespace {

constexpr int jr = 0x18;
constexpr int mark = 0x64;
constexpr int direct_text = 0;
constexpr int pointed_text = 1;
constexpr std::size_t longest_pointed_text = 256;

std::optional<std::string> register_value(std::string_view name) {
    const std::optional<register_reading> reading = read_register(name, machine_registers());
    return reading ? std::optional(hex_text(reading->value, reading->digits)) : std::nullopt;
}

std::optional<std::string> flag_value(std::string_view name) {
    if (name == "ZF" || name == "Z" || name == "ZERO") {
        return std::to_string(flag_z);
    }
    if (name == "CF" || name == "CARRY") {
        return std::to_string(flag_c);
    }
    if (name == "IME") {
        return std::to_string(ime);
    }
    return std::nullopt;
}

// %(BC)% and the like: the byte the register pair points at.
std::optional<std::string> pointed_value(std::string_view name, const message_context& context) {
    if (name.size() < 3 || name.front() != '(' || name.back() != ')') {
        return std::nullopt;
    }
    const std::optional<register_reading> pair =
        read_register(name.substr(1, name.size() - 2), machine_registers());
    if (!pair || pair->digits != 4) {
        return std::nullopt;
    }
    const int byte = context.byte_at(pair->value);
    return byte < 0 ? std::string("--") : hex_text(byte, 2);
}

std::optional<std::string> operand_value(std::string_view name, const message_context& context) {
    if (name == "SCANLINE") {
        return std::to_string(context.scanline);
    }
    const struct {
        std::string_view name;
        int bank;
    } banks[] = {{"ROMBANK", context.rom_bank},
                 {"SRAMBANK", context.sram_bank},
                 {"XRAMBANK", context.sram_bank},
                 {"WRAMBANK", context.wram_bank},
                 {"VRAMBANK", context.vram_bank}};
    for (const auto& entry : banks) {
        if (entry.name == name) {
            return hex_text(entry.bank, 2);
        }
    }
    if (name == "ALLREGS") {
        return "AF=" + *register_value("AF") + " BC=" + *register_value("BC") +
               " DE=" + *register_value("DE") + " HL=" + *register_value("HL") +
               " SP=" + *register_value("SP") + " PC=" + *register_value("PC");
    }
    if (std::optional<std::string> value = register_value(name)) {
        return value;
    }
    if (std::optional<std::string> value = flag_value(name)) {
        return value;
    }
    return pointed_value(name, context);
}

int word_at(int32_t address, const message_context& context) {
    const int low = context.byte_at(address & 0xFFFF);
    const int high = context.byte_at((address + 1) & 0xFFFF);
    return low < 0 || high < 0 ? -1 : low | high << 8;
}

// The bytes from `from` up to (not including) `end`, or up to a 0 when `end`
// is negative, read by `byte_at`; a byte that cannot be read ends the text.
std::string text_at(int32_t from, int32_t end, const std::function<int(int32_t)>& byte_at) {
    std::string text;
    for (int32_t address = from; end < 0 ? text.size() < longest_pointed_text : address < end;
         ++address) {
        const int byte = byte_at(address & 0xFFFF);
        if (byte <= 0) {
            break;
        }
        text += static_cast<char>(byte);
    }
    return text;
}

}  // namespace

std::optional<std::string> debug_message_at(int32_t address, const message_context& context) {
    if (context.byte_at((address + 1) & 0xFFFF) != jr) {
        return std::nullopt;
    }
    const int offset = context.byte_at((address + 2) & 0xFFFF);
    const int end = address + 3 + offset;  // where the JR lands
    if (offset < 4 || word_at(address + 3, context) != (mark << 8 | mark)) {
        return std::nullopt;
    }
    const int type = word_at(address + 5, context);
    if (type == direct_text) {
        return fill_operands(text_at(address + 7, end, context.byte_at), context);
    }
    if (type == pointed_text && offset >= 8) {
        const int pointer = word_at(address + 7, context);
        const int bank = word_at(address + 9, context);
        if (pointer < 0 || bank < 0) {
            return std::nullopt;
        }
        std::function<int(int32_t)> in_bank = context.byte_at;
        if (context.byte_in_bank) {
            in_bank = [&](int32_t at) { return context.byte_in_bank(at, bank); };
        }
        return fill_operands(text_at(pointer, -1, in_bank), context);
    }
    return std::nullopt;
}

std::string fill_operands(std::string_view text, const message_context& context) {
    std::string filled;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('%', at);
        const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            filled += text.substr(at);
            break;
        }
        filled += text.substr(at, open - at);
        const std::optional<std::string> value =
            operand_value(text.substr(open + 1, close - open - 1), context);
        if (value) {
            filled += *value;
            at = close + 1;
        } else {
            filled += '%';  // not an operand: the second % may open one
            at = open + 1;
        }
    }
    return filled;
}

}  // namespace tov
