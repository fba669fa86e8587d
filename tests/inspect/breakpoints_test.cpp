#include "inspect/breakpoints.h"

#include <gtest/gtest.h>

#include <array>

#include "inspect/call_stack.h"

namespace tov {
namespace {

const symbol_file labels = read_symbols("00:0150 Start\n03:4A81 Bank3.loop\n00:C0A0 wScore\n");

TEST(Breakpoints, ReadTypedTextAndWriteItBack) {
    const struct {
        const char* typed;
        const char* written;  // empty: refused
    } cases[] = {
        {"4a81", "4A81"},
        {"$0150", "0150"},
        {"03:4A81", "03:4A81"},
        {"Bank3.loop", "03:4A81"},
        {"Start", "0150"},
        {" read C000-C0FF ", "read C000-C0FF"},
        {"WRITE ff40", "write FF40"},
        {"write wScore", "write C0A0"},
        {"a == 3f", "A == 3F"},
        {"HL>=C000", "HL >= C000"},
        {"(wScore) != $10", "(C0A0) != 10"},
        {"(FF44) < 90", "(FF44) < 90"},
        {"SP <= DFF0", "SP <= DFF0"},
        {"pc > 0150", "PC > 0150"},
        {"invalid", "invalid opcode"},
        {"Invalid Opcode", "invalid opcode"},
        {"", ""},
        {"start", ""},  // labels are case-sensitive
        {"10000", ""},  // beyond the address space
        {"read C0FF-C000", ""},
        {"read", ""},
        {"A == 100", ""},  // a byte register compared with three digits
        {"Q == 1", ""},
        {"(nowhere) == 1", ""},
        {"HL == G", ""},
    };
    for (const auto& c : cases) {
        const parsed_breakpoint parsed = parse_breakpoint(c.typed, labels);
        if (*c.written == '\0') {
            EXPECT_FALSE(parsed.point) << c.typed;
            EXPECT_FALSE(parsed.outcome.message.empty()) << c.typed;
            continue;
        }
        ASSERT_TRUE(parsed.point) << c.typed << ": " << parsed.outcome.message;
        EXPECT_EQ(breakpoint_text(*parsed.point), c.written) << c.typed;
        const parsed_breakpoint again = parse_breakpoint(c.written, {});
        ASSERT_TRUE(again.point) << c.written;
        EXPECT_EQ(breakpoint_text(*again.point), c.written);
    }
}

TEST(Breakpoints, ListKeepsOnOffAndSkipsOtherLines) {
    std::vector<breakpoint> points{*parse_breakpoint("03:4A81", {}).point,
                                   *parse_breakpoint("A == 3F", {}).point};
    points[1].enabled = false;
    const std::string text = breakpoint_list_text(points);
    EXPECT_EQ(text, "on\t03:4A81\noff\tA == 3F\n");
    const std::vector<breakpoint> read =
        read_breakpoint_list(text + "garbage\non\tnot a breakpoint\nmaybe\t0150\n");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(breakpoint_list_text(read), text);
}

// A machine of 64 KiB whose breakpoints are checked instruction by instruction.
struct fake_machine {
    std::array<int, 0x10000> memory{};
    int bank = 1;
    cpu_moment now;

    fake_machine() {
        now.byte_at = [this](uint16_t address) { return memory[address]; };
        now.bank_at = [this](uint16_t) { return bank; };
    }
};

TEST(Breakpoints, WatchHitsByKindAndConditionsWhenTheyComeToHold) {
    fake_machine machine;
    machine.memory[0x4A81] = 0x77;  // LD (HL),A
    machine.memory[0x4A82] = 0x7E;  // LD A,(HL)
    machine.memory[0x4A83] = 0xD3;  // no instruction
    machine.memory[0xC0A0] = 0x10;
    machine.now.registers.hl = 0xC0A0;
    const struct {
        const char* point;
        uint16_t pc;
        int bank;
        bool hits;
    } cases[] = {
        {"4A81", 0x4A81, 1, true},
        {"4A81", 0x4A82, 1, false},
        {"03:4A81", 0x4A81, 1, false},
        {"03:4A81", 0x4A81, 3, true},
        {"write C000-C0FF", 0x4A81, 1, true},
        {"write C000-C0FF", 0x4A82, 1, false},  // a read there
        {"read C0A0", 0x4A82, 1, true},
        {"read C0A1-C0FF", 0x4A82, 1, false},
        {"invalid opcode", 0x4A83, 1, true},
        {"invalid opcode", 0x4A81, 1, false},
        {"(C0A0) == 10", 0x4A81, 1, true},
        {"(C0A0) > 10", 0x4A81, 1, false},
        {"HL == C0A0", 0x4A81, 1, true},
        {"L != A0", 0x4A81, 1, false},
        {"PC >= 4A82", 0x4A83, 1, true},
    };
    for (const auto& c : cases) {
        break_watch watch;
        watch.use({*parse_breakpoint(c.point, {}).point});
        machine.now.registers.pc = c.pc;
        machine.bank = c.bank;
        EXPECT_EQ(watch.check(machine.now) == 0, c.hits) << c.point << " at " << c.pc;
    }

    // A condition stops once as it comes to hold, then only after it stopped holding.
    break_watch watch;
    watch.use({*parse_breakpoint("A == 05", {}).point});
    const int a_values[] = {4, 5, 5, 6, 5};
    const int hits[] = {-1, 0, -1, -1, 0};
    for (std::size_t i = 0; i < std::size(a_values); ++i) {
        machine.now.registers.af = static_cast<uint16_t>(a_values[i] << 8);
        EXPECT_EQ(watch.check(machine.now), hits[i]) << i;
    }
    std::vector<breakpoint> off = watch.points();
    off[0].enabled = false;
    watch.use(off);
    EXPECT_EQ(watch.check(machine.now), -1) << "a breakpoint switched off";
}

TEST(CallStack, FindsReturnAddressesAfterCallsAndRsts) {
    fake_machine machine;
    machine.memory[0x0200] = 0xCD;  // CALL at 0200, returning to 0203
    machine.memory[0x0300] = 0xD7;  // RST $10 at 0300
    machine.memory[0x0400] = 0xFF;  // FF before 0401: empty memory, not RST $38
    const std::pair<uint16_t, uint16_t> words[] = {
        {0xDFF0, 0x0203}, {0xDFF2, 0x1234}, {0xDFF4, 0x0301}, {0xDFF6, 0x0401}};
    for (const auto& [slot, word] : words) {
        machine.memory[slot] = word & 0xFF;
        machine.memory[slot + 1] = word >> 8;
    }
    const std::vector<stack_frame> frames = read_call_stack(0xDFF0, machine.now.byte_at, 4);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].slot, 0xDFF0);
    EXPECT_EQ(frames[0].call_site, 0x0200);
    EXPECT_EQ(frames[1].returns_to, 0x0301);
    EXPECT_EQ(frames[1].call_site, 0x0300);
    EXPECT_TRUE(read_call_stack(0xFFFF, machine.now.byte_at).empty()) << "no word above FFFF";
}

}  // namespace
}  // namespace tov
