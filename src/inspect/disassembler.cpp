#include "inspect/disassembler.h"

#include "inspect/view_text.h"

namespace tov {

namespace {

// An opcode's fields: bits 7-6 pick its block, bits 5-3 (y) and 2-0 (z) its
// operands; y's top two bits (p) pick a register pair and its low bit (q) a
// direction.
constexpr const char* registers[8] = {"B", "C", "D", "E", "H", "L", "(HL)", "A"};
constexpr const char* register_pairs[4] = {"BC", "DE", "HL", "SP"};
constexpr const char* stack_pairs[4] = {"BC", "DE", "HL", "AF"};
constexpr const char* pair_pointers[4] = {"(BC)", "(DE)", "(HL+)", "(HL-)"};
constexpr const char* conditions[4] = {"NZ", "Z", "NC", "C"};
constexpr const char* alu_operations[8] = {"ADD A,", "ADC A,", "SUB ", "SBC A,",
                                           "AND ",   "XOR ",   "OR ",  "CP "};
constexpr const char* accumulator_operations[8] = {"RLCA", "RRCA", "RLA", "RRA",
                                                   "DAA",  "CPL",  "SCF", "CCF"};
constexpr const char* shift_operations[8] = {"RLC ", "RRC ", "RL ",   "RR ",
                                             "SLA ", "SRA ", "SWAP ", "SRL "};
constexpr const char* bit_operations[4] = {"", "BIT ", "RES ", "SET "};

// An instruction's text before its operand is read: a lower-case letter
// stands for the operand taken from the bytes after the opcode.
//   n  an 8-bit immediate           w  a 16-bit immediate
//   a  a 16-bit memory address      j  a JP or CALL destination
//   h  $FF00 plus an 8-bit offset   r  a JR destination
//   s  a signed offset ("-$02")     o  a signed offset with its sign ("+$05")
//   v  the RST vector, held in the opcode itself
constexpr const char* operand_kinds = "nwajhrsov";

std::string str(const char* text) {
    return text;
}

std::string block_0_shape(int y, int z) {
    constexpr const char* first_column[4] = {"NOP", "LD (a),SP", "STOP", "JR r"};
    const int p = y >> 1;
    const bool q = y & 1;
    switch (z) {
        case 0: return y < 4 ? str(first_column[y]) : str("JR ") + conditions[y - 4] + ",r";
        case 1:
            return q ? str("ADD HL,") + register_pairs[p] : str("LD ") + register_pairs[p] + ",w";
        case 2: return q ? str("LD A,") + pair_pointers[p] : str("LD ") + pair_pointers[p] + ",A";
        case 3: return str(q ? "DEC " : "INC ") + register_pairs[p];
        case 4: return str("INC ") + registers[y];
        case 5: return str("DEC ") + registers[y];
        case 6: return str("LD ") + registers[y] + ",n";
        default: return accumulator_operations[y];
    }
}

// "" where the block has no instruction, and for CB, the prefix.
std::string block_3_shape(int y, int z) {
    constexpr const char* high_page[4] = {"LDH (h),A", "ADD SP,s", "LDH A,(h)", "LD HL,SPo"};
    constexpr const char* returns[4] = {"RET", "RETI", "JP (HL)", "LD SP,HL"};
    constexpr const char* accumulator_loads[4] = {"LD ($FF00+C),A", "LD (a),A", "LD A,($FF00+C)",
                                                  "LD A,(a)"};
    constexpr const char* fourth_column[8] = {"JP j", "", "", "", "", "", "DI", "EI"};
    const int p = y >> 1;
    const bool q = y & 1;
    switch (z) {
        case 0: return y < 4 ? str("RET ") + conditions[y] : str(high_page[y - 4]);
        case 1: return q ? str(returns[p]) : str("POP ") + stack_pairs[p];
        case 2: return y < 4 ? str("JP ") + conditions[y] + ",j" : str(accumulator_loads[y - 4]);
        case 3: return fourth_column[y];
        case 4: return y < 4 ? str("CALL ") + conditions[y] + ",j" : str("");
        case 5: return q ? str(p == 0 ? "CALL j" : "") : str("PUSH ") + stack_pairs[p];
        case 6: return str(alu_operations[y]) + "n";
        default: return "RST v";
    }
}

std::string shape_of(uint8_t opcode) {
    const int y = (opcode >> 3) & 7;
    const int z = opcode & 7;
    switch (opcode >> 6) {
        case 0: return block_0_shape(y, z);
        case 1:
            return opcode == 0x76 ? str("HALT") : str("LD ") + registers[y] + "," + registers[z];
        case 2: return str(alu_operations[y]) + registers[z];
        default: return block_3_shape(y, z);
    }
}

int operand_size(char kind) {
    switch (kind) {
        case 'n':
        case 'h':
        case 'r':
        case 's':
        case 'o': return 1;
        case 'w':
        case 'a':
        case 'j': return 2;
        default: return 0;
    }
}

bool is_byte(int value) {
    return value >= 0 && value <= 0xFF;
}

std::string hex_byte(int value) {
    return formatted("$%02X", value);
}

std::string prefixed_text(int opcode) {
    if (!is_byte(opcode)) {
        return "CB ??";
    }
    const char* operand = registers[opcode & 7];
    const int y = (opcode >> 3) & 7;
    if (opcode < 0x40) {
        return shift_operations[y] + str(operand);
    }
    return bit_operations[opcode >> 6] + std::to_string(y) + "," + operand;
}

// The operand's value from the bytes after the opcode at `address`, or
// nothing when one of them cannot be read.
std::optional<int> operand_value(char kind, uint16_t address, uint8_t opcode,
                                 const std::function<int(uint16_t)>& byte_at) {
    if (kind == 'v') {
        return opcode & 0x38;
    }
    const int low = byte_at(static_cast<uint16_t>(address + 1));
    const int high = operand_size(kind) == 2 ? byte_at(static_cast<uint16_t>(address + 2)) : 0;
    if (!is_byte(low) || !is_byte(high)) {
        return std::nullopt;
    }
    const int offset = static_cast<int8_t>(low);
    switch (kind) {
        case 'h': return 0xFF00 + low;
        case 'r': return (address + 2 + offset) & 0xFFFF;
        case 's':
        case 'o': return offset;
        default: return high << 8 | low;
    }
}

std::string signed_text(int offset, const char* plus) {
    return (offset < 0 ? "-" : plus) + formatted("$%02X", offset < 0 ? -offset : offset);
}

std::string operand_text(char kind, int value,
                         const std::function<std::string(uint16_t)>& label_of) {
    if (label_of && (kind == 'a' || kind == 'h' || kind == 'j' || kind == 'r' || kind == 'v')) {
        std::string label = label_of(static_cast<uint16_t>(value));
        if (!label.empty()) {
            return label;
        }
    }
    switch (kind) {
        case 'n':
        case 'v': return hex_byte(value);
        case 's': return signed_text(value, "");
        case 'o': return signed_text(value, "+");
        default: return formatted("$%04X", value);
    }
}

}  // namespace

instruction disassemble(uint16_t address, const std::function<int(uint16_t)>& byte_at,
                        const std::function<std::string(uint16_t)>& label_of) {
    const int opcode = byte_at(address);
    if (!is_byte(opcode)) {
        return {"DB ??", 1, std::nullopt};
    }
    if (opcode == 0xCB) {
        return {prefixed_text(byte_at(static_cast<uint16_t>(address + 1))), 2, std::nullopt};
    }
    instruction result{shape_of(opcode), instruction_length(opcode), std::nullopt};
    if (result.text.empty()) {
        result.text = "DB " + hex_byte(opcode);
        return result;
    }
    const std::size_t at = result.text.find_first_of(operand_kinds);
    if (at == std::string::npos) {
        return result;
    }
    const char kind = result.text[at];
    const std::optional<int> value = operand_value(kind, address, opcode, byte_at);
    result.text.replace(at, 1, value ? operand_text(kind, *value, label_of) : "??");
    if (value && (kind == 'j' || kind == 'r' || kind == 'v')) {
        result.target = static_cast<uint16_t>(*value);
    }
    return result;
}

int instruction_length(uint8_t opcode) {
    // CB takes the next byte as a second opcode; STOP skips the byte after it.
    if (opcode == 0xCB || opcode == 0x10) {
        return 2;
    }
    int length = 1;
    for (const char c : shape_of(opcode)) {
        length += operand_size(c);
    }
    return length;
}

bool is_invalid_opcode(uint8_t opcode) {
    return opcode != 0xCB && shape_of(opcode).empty();
}

}  // namespace tov
