#include "inspect/breakpoints.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "inspect/disassembler.h"
#include "inspect/text_fields.h"
#include "inspect/view_text.h"

namespace tov {

namespace {

struct comparison_name {
    std::string_view text;
    comparison compare;
};

// Two-character operators first, so that "<=" is not read as "<".
constexpr std::array<comparison_name, 6> comparisons{{
    {"==", comparison::equal},
    {"!=", comparison::not_equal},
    {"<=", comparison::less_equal},
    {">=", comparison::greater_equal},
    {"<", comparison::less},
    {">", comparison::greater},
}};

constexpr std::string_view invalid_text = "invalid opcode";

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

}  // namespace

std::optional<code_place> parse_place(std::string_view text, const symbol_file& symbols) {
    text = trimmed(text);
    const std::size_t colon = text.find(':');
    std::optional<int> bank = -1;
    if (colon != std::string_view::npos) {
        bank = hex_number(text.substr(0, colon), 4);
        text = text.substr(colon + 1);
    }
    if (const std::optional<int> address = hex_number(without_hex_prefix(text), 4);
        address && bank) {
        return code_place{static_cast<uint16_t>(*address), *bank};
    }
    if (colon == std::string_view::npos) {
        if (const std::optional<symbol> found = find_symbol(symbols, text)) {
            // Only the switchable areas have banks to tell apart.
            const bool banked = found->address >= 0x4000 && found->address < 0x8000;
            return code_place{found->address, banked ? found->bank : -1};
        }
    }
    return std::nullopt;
}

namespace {

parsed_breakpoint refused(std::string message) {
    return {std::nullopt, failure(std::move(message))};
}

parsed_breakpoint access_point(break_kind kind, std::string_view range,
                               const symbol_file& symbols) {
    const std::size_t dash = range.find('-');
    const std::optional<code_place> first = parse_place(range.substr(0, dash), symbols);
    const std::optional<code_place> last =
        dash == std::string_view::npos ? first : parse_place(range.substr(dash + 1), symbols);
    if (!first || !last) {
        return refused("\"" + std::string(trimmed(range)) +
                       "\" is not an address or a range of addresses such as C000-C0FF");
    }
    if (last->address < first->address) {
        return refused("the range ends before it starts");
    }
    breakpoint point;
    point.kind = kind;
    point.first = first->address;
    point.last = last->address;
    return {point, {}};
}

parsed_breakpoint condition_point(std::string_view text, std::size_t at, const comparison_name& op,
                                  const symbol_file& symbols) {
    const std::string_view left = trimmed(text.substr(0, at));
    const std::string_view right = trimmed(text.substr(at + op.text.size()));
    breakpoint point;
    point.kind = break_kind::condition;
    point.compare = op.compare;
    int width = 2;
    if (const std::optional<register_reading> found = read_register(upper(left), {})) {
        point.operand = upper(left);
        width = found->digits;
    } else if (left.size() > 2 && left.front() == '(' && left.back() == ')') {
        const std::optional<code_place> byte =
            parse_place(left.substr(1, left.size() - 2), symbols);
        if (!byte) {
            return refused("\"" + std::string(left) + "\" does not name a byte of memory");
        }
        point.first = point.last = byte->address;
    } else {
        return refused("\"" + std::string(left) +
                       "\" is neither a register nor a byte such as (C0A0)");
    }
    const std::optional<int> value =
        hex_number(without_hex_prefix(right), static_cast<std::size_t>(width));
    if (!value) {
        return refused("\"" + std::string(right) + "\" is not a hex value of at most " +
                       std::to_string(width) + " digits");
    }
    point.value = *value;
    return {point, {}};
}

bool compared(int left, comparison compare, int right) {
    switch (compare) {
        case comparison::equal: return left == right;
        case comparison::not_equal: return left != right;
        case comparison::less: return left < right;
        case comparison::less_equal: return left <= right;
        case comparison::greater: return left > right;
        case comparison::greater_equal: return left >= right;
    }
    return false;
}

std::string range_text(const breakpoint& point) {
    std::string text = hex_text(point.first, 4);
    if (point.last != point.first) {
        text += "-" + hex_text(point.last, 4);
    }
    return text;
}

bool touches(const breakpoint& point, const std::vector<memory_access>& accesses) {
    const bool write = point.kind == break_kind::write;
    return std::any_of(accesses.begin(), accesses.end(), [&](const memory_access& access) {
        return access.write == write && access.address >= point.first &&
               access.address <= point.last;
    });
}

}  // namespace

parsed_breakpoint parse_breakpoint(std::string_view text, const symbol_file& symbols) {
    text = trimmed(text);
    const std::string word = upper(text.substr(0, text.find_first_of(blanks)));
    if (upper(text) == "INVALID" || upper(text) == upper(invalid_text)) {
        breakpoint point;
        point.kind = break_kind::invalid_opcode;
        return {point, {}};
    }
    if (word == "READ" || word == "WRITE") {
        return access_point(word == "READ" ? break_kind::read : break_kind::write,
                            text.substr(word.size()), symbols);
    }
    for (const comparison_name& op : comparisons) {
        if (const std::size_t at = text.find(op.text); at != std::string_view::npos) {
            return condition_point(text, at, op, symbols);
        }
    }
    const std::optional<code_place> at = parse_place(text, symbols);
    if (!at) {
        return refused("\"" + std::string(text) +
                       "\" is not an address, a symbol, read/write RANGE, a condition such as "
                       "A == 3F, or \"invalid opcode\"");
    }
    breakpoint point;
    point.first = point.last = at->address;
    point.bank = at->bank;
    return {point, {}};
}

std::string breakpoint_text(const breakpoint& point) {
    switch (point.kind) {
        case break_kind::address:
            return (point.bank >= 0 ? hex_text(point.bank, 2) + ":" : "") +
                   hex_text(point.first, 4);
        case break_kind::read: return "read " + range_text(point);
        case break_kind::write: return "write " + range_text(point);
        case break_kind::invalid_opcode: return std::string(invalid_text);
        case break_kind::condition: break;
    }
    const std::optional<register_reading> named = read_register(point.operand, {});
    const std::string left = named ? point.operand : "(" + hex_text(point.first, 4) + ")";
    const auto op =
        std::find_if(comparisons.begin(), comparisons.end(),
                     [&](const comparison_name& c) { return c.compare == point.compare; });
    return left + " " + std::string(op->text) + " " +
           hex_text(point.value, named ? named->digits : 2);
}

std::string breakpoint_list_text(const std::vector<breakpoint>& points) {
    std::string text;
    for (const breakpoint& point : points) {
        text += (point.enabled ? "on\t" : "off\t") + breakpoint_text(point) + "\n";
    }
    return text;
}

std::vector<breakpoint> read_breakpoint_list(std::string_view text) {
    std::vector<breakpoint> points;
    const symbol_file no_symbols;
    while (!text.empty()) {
        const std::string_view line = next_line(text);
        const std::size_t tab = line.find('\t');
        const std::string_view state = line.substr(0, tab);
        if (tab == std::string_view::npos || (state != "on" && state != "off")) {
            continue;
        }
        parsed_breakpoint parsed = parse_breakpoint(line.substr(tab + 1), no_symbols);
        if (parsed.point) {
            parsed.point->enabled = state == "on";
            points.push_back(*parsed.point);
        }
    }
    return points;
}

bool condition_holds(const breakpoint& point, const cpu_moment& now) {
    const int left = point.operand.empty() ? now.byte_at(point.first)
                                           : read_register(point.operand, now.registers)->value;
    return compared(left, point.compare, point.value);
}

void break_watch::use(std::vector<breakpoint> points) {
    points_ = std::move(points);
    held_.assign(points_.size(), 0);
}

int break_watch::check(const cpu_moment& now) {
    std::optional<std::vector<memory_access>> accesses;  // worked out when a watchpoint asks
    int hit = -1;
    for (std::size_t index = 0; index < points_.size(); ++index) {
        const breakpoint& point = points_[index];
        if (!point.enabled) {
            continue;
        }
        bool now_hit = false;
        switch (point.kind) {
            case break_kind::address:
                now_hit = now.registers.pc == point.first &&
                          (point.bank < 0 || now.bank_at(now.registers.pc) == point.bank);
                break;
            case break_kind::invalid_opcode:
                now_hit = is_invalid_opcode(static_cast<uint8_t>(now.byte_at(now.registers.pc)));
                break;
            case break_kind::read:
            case break_kind::write:
                if (!accesses) {
                    accesses = instruction_accesses(now.registers.pc, now.byte_at, now.registers);
                }
                now_hit = touches(point, *accesses);
                break;
            case break_kind::condition: {
                const bool holds = condition_holds(point, now);
                now_hit = holds && held_[index] == 0;
                held_[index] = holds ? 1 : 0;  // every condition keeps its state up to date
                break;
            }
        }
        if (now_hit && hit < 0) {
            hit = static_cast<int>(index);
        }
    }
    return hit;
}

}  // namespace tov
