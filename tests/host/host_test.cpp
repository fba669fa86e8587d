#include <gtest/gtest.h>

#include <cmath>

#include "host/clock.h"
#include "host/keyboard.h"

namespace tov {
namespace {

TEST(Keyboard, AKeyCountsWhileHeldAndOnceAfterATap) {
    release_all_keys();
    EXPECT_FALSE(query_key('A'));

    key_down('A');
    EXPECT_TRUE(query_key('A'));
    EXPECT_TRUE(query_key('A')) << "a held key stays pressed";

    key_up('A');
    EXPECT_FALSE(query_key('A')) << "released and already seen";

    key_down('B');
    key_up('B');
    EXPECT_TRUE(query_key('B')) << "a tap between two queries is seen once";
    EXPECT_FALSE(query_key('B'));

    key_down('C');
    EXPECT_FALSE(query_key('D')) << "the latch is per key";
    key_up('C');
    EXPECT_TRUE(query_key('C'));
}

TEST(Keyboard, CodesOutsideTheTableAreNeverPressed) {
    release_all_keys();
    for (const int32_t code : {-1, -128, 256, 1000}) {
        key_down(code);
        EXPECT_FALSE(query_key(code)) << code;
        key_up(code);
    }
}

TEST(Clock, FakeClockReadsTheSetTimeAndStepsPerReading) {
    use_fake_clock(100, 3);
    EXPECT_EQ(clock_time_ms(), 100.0);
    EXPECT_EQ(clock_time_ms(), 103.0);
    set_fake_clock(0xFFFFFFFF);
    EXPECT_EQ(clock_time_ms(), 4294967295.0) << "widened without a sign";
    EXPECT_EQ(clock_time_ms(), 2.0) << "the counter wraps";
}

TEST(Clock, RealClockKeepsFractionsOfAMillisecond) {
    use_real_clock();
    bool fraction_seen = false;
    double previous = clock_time_ms();
    for (int i = 0; i < 1000 && !fraction_seen; ++i) {
        const double now = clock_time_ms();
        EXPECT_GE(now, previous);
        fraction_seen = now != std::floor(now);
        previous = now;
    }
    EXPECT_TRUE(fraction_seen);
    EXPECT_LT(previous, 4294967296.0);
}

}  // namespace
}  // namespace tov
