#include "assembler.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>

namespace tov::assembler {

namespace {

// How an instruction's immediate operand is encoded.
enum class operand_kind { none, byte, word, relative, signed_byte };

struct instruction_form {
    uint8_t opcode;
    bool cb_prefixed;
    operand_kind kind;
};

// Placeholders in the instruction templates and the encoding each stands for.
struct placeholder {
    const char* name;
    operand_kind kind;
};
constexpr placeholder placeholders[] = {
    {"d16", operand_kind::word}, {"a16", operand_kind::word},    {"d8", operand_kind::byte},
    {"a8", operand_kind::byte},  {"r8", operand_kind::relative}, {"s8", operand_kind::signed_byte},
};

const char* const r8_names[8] = {"b", "c", "d", "e", "h", "l", "(hl)", "a"};
const char* const r16_names[4] = {"bc", "de", "hl", "sp"};
const char* const stack_names[4] = {"bc", "de", "hl", "af"};
const char* const condition_names[4] = {"nz", "z", "nc", "c"};
const char* const alu_names[8] = {"add a,", "adc a,", "sub ", "sbc a,",
                                  "and ",   "xor ",   "or ",  "cp "};
const char* const shift_names[8] = {"rlc", "rrc", "rl", "rr", "sla", "sra", "swap", "srl"};

// Instructions outside the regular groups, in the usual notation.
struct fixed_form {
    uint8_t opcode;
    const char* text;
};
constexpr fixed_form fixed_forms[] = {
    {0x00, "nop"},         {0x02, "ld (bc),a"},  {0x07, "rlca"},       {0x08, "ld (a16),sp"},
    {0x0A, "ld a,(bc)"},   {0x0F, "rrca"},       {0x10, "stop"},       {0x12, "ld (de),a"},
    {0x17, "rla"},         {0x18, "jr r8"},      {0x1A, "ld a,(de)"},  {0x1F, "rra"},
    {0x22, "ld (hl+),a"},  {0x27, "daa"},        {0x2A, "ld a,(hl+)"}, {0x2F, "cpl"},
    {0x32, "ld (hl-),a"},  {0x37, "scf"},        {0x3A, "ld a,(hl-)"}, {0x3F, "ccf"},
    {0x76, "halt"},        {0xC3, "jp a16"},     {0xC9, "ret"},        {0xCD, "call a16"},
    {0xD9, "reti"},        {0xE0, "ldh (a8),a"}, {0xE2, "ld (c),a"},   {0xE2, "ldh (c),a"},
    {0xE8, "add sp,s8"},   {0xE9, "jp (hl)"},    {0xE9, "jp hl"},      {0xEA, "ld (a16),a"},
    {0xF0, "ldh a,(a8)"},  {0xF2, "ld a,(c)"},   {0xF2, "ldh a,(c)"},  {0xF3, "di"},
    {0xF8, "ld hl,sp+s8"}, {0xF9, "ld sp,hl"},   {0xFA, "ld a,(a16)"}, {0xFB, "ei"},
};

// Every instruction form by its template with placeholders written as "n".
class form_table {
public:
    form_table() {
        for (const fixed_form& form : fixed_forms) {
            add(form.text, form.opcode, false);
        }
        for (int y = 0; y < 8; ++y) {
            const std::string r = r8_names[y];
            add("inc " + r, 0x04 + 8 * y, false);
            add("dec " + r, 0x05 + 8 * y, false);
            add("ld " + r + ",d8", 0x06 + 8 * y, false);
            add(std::string(alu_names[y]) + "d8", 0xC6 + 8 * y, false);
            add(std::string("rst ") + std::to_string(8 * y), 0xC7 + 8 * y, false);
            for (int z = 0; z < 8; ++z) {
                if (y != 6 || z != 6) {
                    add("ld " + r + "," + r8_names[z], 0x40 + 8 * y + z, false);
                }
                add(std::string(alu_names[y]) + r8_names[z], 0x80 + 8 * y + z, false);
                add(std::string(shift_names[y]) + " " + r8_names[z], 8 * y + z, true);
            }
        }
        for (int p = 0; p < 4; ++p) {
            const std::string rr = r16_names[p];
            add("ld " + rr + ",d16", 0x01 + 16 * p, false);
            add("inc " + rr, 0x03 + 16 * p, false);
            add("dec " + rr, 0x0B + 16 * p, false);
            add("add hl," + rr, 0x09 + 16 * p, false);
            add(std::string("pop ") + stack_names[p], 0xC1 + 16 * p, false);
            add(std::string("push ") + stack_names[p], 0xC5 + 16 * p, false);
            const std::string cc = condition_names[p];
            add("jr " + cc + ",r8", 0x20 + 8 * p, false);
            add("ret " + cc, 0xC0 + 8 * p, false);
            add("jp " + cc + ",a16", 0xC2 + 8 * p, false);
            add("call " + cc + ",a16", 0xC4 + 8 * p, false);
        }
    }

    const instruction_form* find(const std::string& key) const {
        const auto found = forms_.find(key);
        return found == forms_.end() ? nullptr : &found->second;
    }

private:
    void add(std::string text, int opcode, bool cb_prefixed) {
        operand_kind kind = operand_kind::none;
        for (const placeholder& entry : placeholders) {
            const std::size_t at = text.find(entry.name);
            if (at != std::string::npos) {
                text.replace(at, std::string(entry.name).size(), "n");
                kind = entry.kind;
                break;
            }
        }
        forms_.emplace(text, instruction_form{static_cast<uint8_t>(opcode), cb_prefixed, kind});
    }

    std::map<std::string, instruction_form> forms_;
};

const form_table& forms() {
    static const form_table table;
    return table;
}

struct assembly_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

bool is_identifier_start(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}
bool is_identifier_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

// The two passes share the symbol table; the first pass only sizes code.
class assembler_state {
public:
    assembly result;
    std::string scope;  // the last global label, for local ones
    int32_t address = 0;
    bool final_pass = false;

    std::string qualified(const std::string& name) const {
        return name[0] == '.' ? scope + name : name;
    }

    void define(const std::string& name, int32_t value) {
        const std::string full = qualified(name);
        if (!defined_this_pass.insert(full).second) {
            throw assembly_error("'" + full + "' is defined twice");
        }
        result.symbols[full] = value;
    }

    void start_pass() {
        address = 0;
        scope.clear();
        defined_this_pass.clear();
    }

    std::set<std::string> defined_this_pass;

    int32_t evaluate(std::string_view text) {
        expression_parser parser{*this, text, 0};
        const int32_t value = parser.parse_or();
        parser.skip_space();
        if (parser.at < text.size()) {
            throw assembly_error("cannot read the expression '" + std::string(text) + "'");
        }
        return value;
    }

private:
    struct expression_parser {
        assembler_state& state;
        std::string_view text;
        std::size_t at;

        void skip_space() {
            while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
                ++at;
            }
        }
        bool take(std::string_view token) {
            skip_space();
            if (text.substr(at, token.size()) == token) {
                at += token.size();
                return true;
            }
            return false;
        }
        int32_t parse_or() {
            int32_t value = parse_xor();
            while (take("|"))
                value |= parse_xor();
            return value;
        }
        int32_t parse_xor() {
            int32_t value = parse_and();
            while (take("^"))
                value ^= parse_and();
            return value;
        }
        int32_t parse_and() {
            int32_t value = parse_shift();
            while (take("&"))
                value &= parse_shift();
            return value;
        }
        int32_t parse_shift() {
            int32_t value = parse_sum();
            while (true) {
                if (take("<<")) {
                    value <<= parse_sum();
                } else if (take(">>")) {
                    value >>= parse_sum();
                } else {
                    return value;
                }
            }
        }
        int32_t parse_sum() {
            int32_t value = parse_product();
            while (true) {
                if (take("+")) {
                    value += parse_product();
                } else if (take("-")) {
                    value -= parse_product();
                } else {
                    return value;
                }
            }
        }
        int32_t parse_product() {
            int32_t value = parse_unary();
            while (true) {
                if (take("*")) {
                    value *= parse_unary();
                } else if (take("/") || take("%")) {
                    const bool remainder = text[at - 1] == '%';
                    const int32_t divisor = parse_unary();
                    if (divisor == 0) {
                        throw assembly_error("division by zero");
                    }
                    value = remainder ? value % divisor : value / divisor;
                } else {
                    return value;
                }
            }
        }
        int32_t parse_unary() {
            if (take("-"))
                return -parse_unary();
            if (take("~"))
                return ~parse_unary();
            if (take("+"))
                return parse_unary();
            return parse_primary();
        }
        int32_t parse_number(int base, std::size_t start) {
            std::size_t end = start;
            while (end < text.size() && std::isxdigit(static_cast<unsigned char>(text[end]))) {
                ++end;
            }
            const std::string digits(text.substr(start, end - start));
            std::size_t used = 0;
            int64_t value = 0;
            try {
                value = std::stoll(digits, &used, base);
            } catch (const std::exception&) {
                used = 0;
            }
            if (digits.empty() || used != digits.size()) {
                throw assembly_error("bad number in '" + std::string(text) + "'");
            }
            at = end;
            return static_cast<int32_t>(value);
        }
        int32_t parse_primary() {
            skip_space();
            if (at >= text.size()) {
                throw assembly_error("missing value in '" + std::string(text) + "'");
            }
            const char c = text[at];
            if (take("(")) {
                const int32_t value = parse_or();
                if (!take(")")) {
                    throw assembly_error("missing ')' in '" + std::string(text) + "'");
                }
                return value;
            }
            if (c == '$')
                return parse_number(16, at + 1);
            if (c == '%')
                return parse_number(2, at + 1);
            if (text.substr(at, 2) == "0x" || text.substr(at, 2) == "0X") {
                return parse_number(16, at + 2);
            }
            if (std::isdigit(static_cast<unsigned char>(c)))
                return parse_number(10, at);
            if (c == '\'' && at + 2 < text.size() && text[at + 2] == '\'') {
                at += 3;
                return static_cast<unsigned char>(text[at - 2]);
            }
            if (is_identifier_start(c)) {
                const std::size_t start = at;
                while (at < text.size() && is_identifier_char(text[at])) {
                    ++at;
                }
                const std::string name =
                    state.qualified(std::string(text.substr(start, at - start)));
                const auto found = state.result.symbols.find(name);
                if (found != state.result.symbols.end()) {
                    return found->second;
                }
                if (state.final_pass) {
                    throw assembly_error("'" + name + "' is not defined");
                }
                return 0;
            }
            throw assembly_error("cannot read the expression '" + std::string(text) + "'");
        }
    };
};

// Splits operands at commas outside quotes and parentheses.
std::vector<std::string> split_operands(std::string_view text) {
    std::vector<std::string> operands;
    std::string current;
    int depth = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '(' || c == '[')) {
            ++depth;
        } else if (!quoted && (c == ')' || c == ']')) {
            --depth;
        } else if (!quoted && depth == 0 && c == ',') {
            operands.push_back(trim(current));
            current.clear();
            continue;
        }
        current += c;
    }
    if (!trim(current).empty() || !operands.empty()) {
        operands.push_back(trim(current));
    }
    return operands;
}

bool enclosed_in_parentheses(const std::string& text) {
    if (text.size() < 2 || text.front() != '(' || text.back() != ')') {
        return false;
    }
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        depth += text[i] == '(' ? 1 : text[i] == ')' ? -1 : 0;
        if (depth == 0 && i + 1 < text.size()) {
            return false;
        }
    }
    return true;
}

// An operand in template notation: registers and conditions as they are,
// anything else as "n" or "(n)", with its expression kept aside.
std::string operand_pattern(const std::string& operand, std::string& expression) {
    std::string text = operand;
    std::replace(text.begin(), text.end(), '[', '(');
    std::replace(text.begin(), text.end(), ']', ')');
    std::string compact = lower(text);
    compact.erase(std::remove_if(compact.begin(), compact.end(),
                                 [](unsigned char c) { return std::isspace(c); }),
                  compact.end());
    static const char* const names[] = {"a",  "b",    "c",    "d",    "e",   "h",     "l",
                                        "af", "bc",   "de",   "hl",   "sp",  "nz",    "z",
                                        "nc", "(bc)", "(de)", "(hl)", "(c)", "(hl+)", "(hl-)"};
    for (const char* name : names) {
        if (compact == name) {
            return compact;
        }
    }
    if (compact == "(hli)")
        return "(hl+)";
    if (compact == "(hld)")
        return "(hl-)";
    if (compact.rfind("sp+", 0) == 0 || compact.rfind("sp-", 0) == 0) {
        const std::size_t sign = text.find_first_of("+-");
        expression = text.substr(sign);
        return "sp+n";
    }
    if (enclosed_in_parentheses(trim(text))) {
        const std::string inner = trim(text);
        expression = inner.substr(1, inner.size() - 2);
        return "(n)";
    }
    expression = text;
    return "n";
}

void emit(assembler_state& state, uint8_t byte) {
    if (state.address < 0 || state.address >= 0x400000) {
        throw assembly_error("address outside the cartridge");
    }
    if (state.final_pass) {
        auto& image = state.result.image;
        if (static_cast<std::size_t>(state.address) >= image.size()) {
            image.resize(static_cast<std::size_t>(state.address) + 1, 0);
        }
        image[static_cast<std::size_t>(state.address)] = byte;
    }
    ++state.address;
}

void emit_value(assembler_state& state, operand_kind kind, int32_t value) {
    const bool check = state.final_pass;
    switch (kind) {
        case operand_kind::byte:
            if (check && (value < -128 || value > 255)) {
                throw assembly_error("value " + std::to_string(value) + " does not fit a byte");
            }
            emit(state, static_cast<uint8_t>(value));
            break;
        case operand_kind::signed_byte:
            if (check && (value < -128 || value > 127)) {
                throw assembly_error("offset " + std::to_string(value) + " is out of -128..127");
            }
            emit(state, static_cast<uint8_t>(value));
            break;
        case operand_kind::relative: {
            const int32_t offset = value - (state.address + 1);
            if (check && (offset < -128 || offset > 127)) {
                throw assembly_error("jump target is " + std::to_string(offset) + " bytes away");
            }
            emit(state, static_cast<uint8_t>(offset));
            break;
        }
        case operand_kind::word:
            if (check && (value < -32768 || value > 0xFFFF)) {
                throw assembly_error("value " + std::to_string(value) + " does not fit a word");
            }
            emit(state, static_cast<uint8_t>(value));
            emit(state, static_cast<uint8_t>(value >> 8));
            break;
        case operand_kind::none: break;
    }
}

void assemble_bit_instruction(assembler_state& state, const std::string& mnemonic,
                              const std::vector<std::string>& operands) {
    if (operands.size() != 2) {
        throw assembly_error(mnemonic + " takes a bit number and an operand");
    }
    const int32_t bit = state.evaluate(operands[0]);
    if (bit < 0 || bit > 7) {
        throw assembly_error("bit number " + std::to_string(bit) + " is out of 0..7");
    }
    std::string unused;
    const std::string target = operand_pattern(operands[1], unused);
    const auto register_code = std::find(std::begin(r8_names), std::end(r8_names), target);
    if (register_code == std::end(r8_names)) {
        throw assembly_error(mnemonic + " needs a register or (hl)");
    }
    const int base = mnemonic == "bit" ? 0x40 : mnemonic == "res" ? 0x80 : 0xC0;
    emit(state, 0xCB);
    emit(state, static_cast<uint8_t>(base + bit * 8 + (register_code - std::begin(r8_names))));
}

void assemble_data(assembler_state& state, const std::string& directive,
                   const std::vector<std::string>& operands) {
    for (const std::string& operand : operands) {
        if (directive == "db" && operand.size() >= 2 && operand.front() == '"' &&
            operand.back() == '"') {
            for (std::size_t i = 1; i + 1 < operand.size(); ++i) {
                emit(state, static_cast<uint8_t>(operand[i]));
            }
        } else {
            emit_value(state, directive == "db" ? operand_kind::byte : operand_kind::word,
                       state.evaluate(operand));
        }
    }
}

void assemble_instruction(assembler_state& state, const std::string& mnemonic,
                          const std::vector<std::string>& operands) {
    if (mnemonic == "bit" || mnemonic == "res" || mnemonic == "set") {
        assemble_bit_instruction(state, mnemonic, operands);
        return;
    }
    std::string key = mnemonic;
    std::string expression;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        key += (i == 0 ? " " : ",") + operand_pattern(operands[i], expression);
    }
    if (mnemonic == "rst" && operands.size() == 1) {
        key = "rst " + std::to_string(state.evaluate(expression));
        expression.clear();
    }
    const instruction_form* form = forms().find(key);
    if (!form &&
        (mnemonic == "sub" || mnemonic == "and" || mnemonic == "xor" || mnemonic == "or" ||
         mnemonic == "cp") &&
        key.rfind(mnemonic + " a,", 0) == 0) {
        form = forms().find(mnemonic + " " + key.substr(mnemonic.size() + 3));  // "cp a,b"
    }
    if (!form) {
        throw assembly_error("no instruction '" + key + "'");
    }
    if (form->cb_prefixed) {
        emit(state, 0xCB);
    }
    emit(state, form->opcode);
    if (form->kind != operand_kind::none) {
        emit_value(state, form->kind, state.evaluate(expression));
    }
}

std::string strip_comment(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ';' && !quoted) {
            return std::string(line.substr(0, i));
        } else if (line[i] == '\'' && i + 2 < line.size() && line[i + 2] == '\'') {
            i += 2;  // a character literal may be ';'
        }
    }
    return std::string(line);
}

void assemble_line(assembler_state& state, std::string_view raw) {
    std::string line = trim(strip_comment(raw));
    // Labels: "name:" at the start of the line.
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos && colon > 0 &&
        std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon),
                    is_identifier_char) &&
        is_identifier_start(line[0])) {
        const std::string name = line.substr(0, colon);
        if (name[0] != '.') {
            state.scope = name;
        }
        state.define(name, state.address);
        line = trim(line.substr(colon + 1));
    }
    if (line.empty()) {
        return;
    }
    const std::size_t space = line.find_first_of(" \t");
    const std::string first = lower(line.substr(0, space));
    const std::string rest = space == std::string::npos ? "" : trim(line.substr(space));
    // Constants: "name equ value" or "name = value".
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && line.find('"') == std::string::npos) {
        state.define(trim(line.substr(0, equals)), state.evaluate(line.substr(equals + 1)));
        return;
    }
    const std::size_t rest_space = rest.find_first_of(" \t");
    if (rest_space != std::string::npos && lower(rest.substr(0, rest_space)) == "equ") {
        state.define(line.substr(0, space), state.evaluate(rest.substr(rest_space)));
        return;
    }
    const std::vector<std::string> operands = split_operands(rest);
    if (first == "org") {
        state.address = state.evaluate(rest);
    } else if (first == "db" || first == "dw") {
        assemble_data(state, first, operands);
    } else if (first == "ds") {
        if (operands.empty() || operands.size() > 2) {
            throw assembly_error("ds takes a count and an optional fill byte");
        }
        const int32_t count = state.evaluate(operands[0]);
        const int32_t fill = operands.size() == 2 ? state.evaluate(operands[1]) : 0;
        if (count < 0 || count > 0x400000) {
            throw assembly_error("ds count " + std::to_string(count) + " is out of range");
        }
        for (int32_t i = 0; i < count; ++i) {
            emit(state, static_cast<uint8_t>(fill));
        }
    } else {
        assemble_instruction(state, first, operands);
    }
}

void run_pass(assembler_state& state, std::string_view source) {
    state.start_pass();
    int line_number = 0;
    std::size_t start = 0;
    while (start <= source.size()) {
        const std::size_t end = std::min(source.find('\n', start), source.size());
        ++line_number;
        try {
            assemble_line(state, source.substr(start, end - start));
        } catch (const assembly_error& error) {
            if (state.final_pass) {
                state.result.errors.push_back("line " + std::to_string(line_number) + ": " +
                                              error.what());
            }
        }
        start = end + 1;
    }
}

}  // namespace

assembly assemble(std::string_view source, std::size_t minimum_size) {
    assembler_state state;
    run_pass(state, source);
    state.final_pass = true;
    run_pass(state, source);
    assembly result = std::move(state.result);
    constexpr std::size_t bank = 0x4000;
    const std::size_t size = std::max(result.image.size(), minimum_size);
    result.image.resize((size + bank - 1) / bank * bank, 0);
    return result;
}

}  // namespace tov::assembler
