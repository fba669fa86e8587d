#include "persist/rewind_ring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tov {
namespace {

// Game-like states: mostly the same from one to the next, a few bytes apart,
// and the second part (a picture) changed throughout.
std::vector<std::string> states(int count) {
    std::vector<std::string> made;
    std::string state(20000, '\0');
    for (int n = 0; n < count; ++n) {
        state[static_cast<std::size_t>(n * 37 % 20000)] = static_cast<char>(n);
        state[19999] = static_cast<char>(n * 7);
        made.push_back(state);
    }
    return made;
}

TEST(RewindRing, StepsBackThroughTheNewestStatesWithinItsLimits) {
    const std::vector<std::string> pushed = states(50);
    struct case_t {
        std::size_t state_limit;
        std::size_t byte_limit;
        std::size_t fewest;  // states it gives back, newest first
        std::size_t most;
    };
    const case_t cases[] = {
        {100, 1 << 20, 50, 50},
        {8, 1 << 20, 8, 8},
        {100, 72000, 2, 49},  // as many as fit beside the newest, kept whole
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.state_limit);
        rewind_ring ring(test.state_limit, test.byte_limit);
        for (const std::string& state : pushed) {
            ring.push(state.substr(0, 15000), state.substr(15000));
            EXPECT_LE(ring.bytes(), test.byte_limit);
        }
        const std::size_t kept = ring.size();
        EXPECT_GE(kept, test.fewest);
        EXPECT_LE(kept, test.most);
        for (std::size_t back = 0; back < kept; ++back) {
            EXPECT_EQ(ring.newest(), pushed[pushed.size() - 1 - back]) << back;
            EXPECT_EQ(ring.step_back(), back + 1 < kept);
        }
        EXPECT_EQ(ring.newest(), pushed[pushed.size() - kept]) << "the oldest stays";
    }
}

TEST(RewindRing, AStateOfAnotherLengthStartsAfresh) {
    rewind_ring ring(10, 1 << 20);
    ring.push(std::string(100, 'a'));
    ring.push(std::string(100, 'b'));
    ring.push(std::string(50, 'c'));
    EXPECT_EQ(ring.size(), 1u);
    EXPECT_FALSE(ring.step_back());
    EXPECT_EQ(ring.newest(), std::string(50, 'c'));
    ring.clear();
    EXPECT_EQ(ring.size(), 0u);
    EXPECT_TRUE(ring.newest().empty());
}

}  // namespace
}  // namespace tov
