// The developer tools' breakpoints: an address (in a bank), a read or a write
// of an address range, a register or a byte compared with a value, and an
// invalid opcode. Each is typed and kept as one line of text:
//   4A81   03:4A81   main_loop          the instruction at an address
//   read C000-C0FF   write FF40         a data access (watchpoint)
//   A == 3F   HL >= C000   (C0A0) != 00  a condition (== != < <= > >=)
//   invalid opcode                      one of the eleven opcodes the CPU lacks
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/result.h"
#include "inspect/memory_access.h"
#include "inspect/symbols.h"

namespace tov {

enum class break_kind { address, read, write, condition, invalid_opcode };
enum class comparison { equal, not_equal, less, less_equal, greater, greater_equal };

struct breakpoint {
    break_kind kind = break_kind::address;
    uint16_t first = 0;   // the address, a range's first, a condition's byte
    uint16_t last = 0;    // a range's last
    int bank = -1;        // the bank an address must be in, -1 for any
    std::string operand;  // a condition's register ("A", "HL", ...); empty: the byte at `first`
    comparison compare = comparison::equal;
    int value = 0;
    bool enabled = true;
};

// An address as typed: "4A81", "$4A81", "03:4A81" or a label of `symbols`
// (its bank kept only for the switched ROM area); bank -1 for any.
struct code_place {
    uint16_t address;
    int bank;
};
std::optional<code_place> parse_place(std::string_view text, const symbol_file& symbols);

struct parsed_breakpoint {
    std::optional<breakpoint> point;
    result outcome;  // says what is wrong when there is no point
};

// A typed line; names of `symbols` may stand for addresses.
parsed_breakpoint parse_breakpoint(std::string_view text, const symbol_file& symbols);

// The line parse_breakpoint reads back as `point` (addresses in hex).
std::string breakpoint_text(const breakpoint& point);

// The list as kept per cartridge, a line "on<TAB>TEXT" or "off<TAB>TEXT" per
// breakpoint, and read back; lines that are not breakpoints are skipped.
std::string breakpoint_list_text(const std::vector<breakpoint>& points);
std::vector<breakpoint> read_breakpoint_list(std::string_view text);

// The machine before an instruction, as the breakpoints look at it.
struct cpu_moment {
    register_values registers{};
    std::function<int(uint16_t)> byte_at;  // the CPU's view, without side effects
    std::function<int(uint16_t)> bank_at;  // the bank in view at an address
};

bool condition_holds(const breakpoint& point, const cpu_moment& now);

// Checks the enabled breakpoints before each instruction. A condition hits
// when it comes to hold (and again each time it comes to hold again), so
// that running on from it does not stop at once.
class break_watch {
public:
    void use(std::vector<breakpoint> points);
    const std::vector<breakpoint>& points() const { return points_; }

    // The index of the breakpoint the instruction about to run hits, or -1.
    int check(const cpu_moment& now);

private:
    std::vector<breakpoint> points_;
    std::vector<char> held_;  // per condition: whether it held at the last check
};

}  // namespace tov
