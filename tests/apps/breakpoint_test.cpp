// The runner as a CI tool: runs until the game's software breakpoint (LD B,B)
// or an address, the registers in mooneye's protocol (its own cartridges are
// run so in the mooneye suite), what the serial port sent, and the exit
// status of each outcome.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless_run.h"

namespace tov {
namespace {

// Loads B-L with `values` and breaks; a loop after it is never reached.
std::string breaking_with(const std::string& values) {
    return R"(
            org $100
            nop
            jp start
            org $150
start:      ld bc, $)" +
           values.substr(0, 4) + R"(
            ld de, $)" +
           values.substr(4, 4) + R"(
            ld hl, $)" +
           values.substr(8, 4) + R"(
            ld b, b
never:      jr never
)";
}

// Sends "OK" through the serial port, then waits.
const std::string sends_ok = R"(
            org $100
            nop
            jp start
            org $150
)" + test::source_of("serial_send.asm") +
                             R"(
start:      ld a, $4F         ; "O"
            call send
            ld a, $4B         ; "K"
            call send
spin:       jr spin
)";

TEST(Breakpoint, TheRunnerStopsAndTellsTheOutcomeByItsExitStatus) {
    const test::assembled_cartridge passing(breaking_with("0305080D1522"));
    const test::assembled_cartridge failing(breaking_with("424242424242"));
    const test::assembled_cartridge serial(sends_ok);
    struct case_t {
        std::vector<std::string> arguments;
        int code;
        const char* out;    // a part of what it says on standard output
        const char* error;  // and on standard error
    };
    std::vector<case_t> cases;
    for (const char* machine : {"classic", "accurate"}) {
        const std::vector<std::string> on = {"--machine", machine};
        const auto with = [&](std::vector<std::string> arguments) {
            arguments.insert(arguments.end(), on.begin(), on.end());
            return arguments;
        };
        cases.push_back({with({passing.path, "--until-breakpoint", "--expect-fibonacci"}), 0,
                         "breakpoint at 0159 after 0 frames", ""});
        cases.push_back({with({failing.path, "--until-breakpoint", "--expect-fibonacci"}), 1,
                         "breakpoint at 0159",
                         "B=42 C=42 D=42 E=42 H=42 L=42, not 03 05 08 0D 15 22"});
        cases.push_back({with({serial.path, "--break", "$015C"}), 0, "breakpoint at 015C", ""});
        cases.push_back({with({serial.path, "--until-breakpoint", "--timeout-frames", "20"}), 3, "",
                         "no breakpoint within 20 frames"});
    }
    cases.push_back({{serial.path, "--machine", "accurate", "--expect-serial", "OK"}, 0, "", ""});
    cases.push_back({{serial.path, "--machine", "accurate", "--expect-serial", "KO"},
                     1,
                     "",
                     "the serial port did not send \"KO\""});
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.arguments));
        const test::run_result result = test::run(test.arguments);
        EXPECT_EQ(result.code, test.code) << result.error;
        EXPECT_NE(result.out.find(test.out), std::string::npos) << result.out;
        EXPECT_NE(result.error.find(test.error), std::string::npos) << result.error;
    }
}

}  // namespace
}  // namespace tov
