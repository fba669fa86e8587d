#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/clock.h"
#include "host/keyboard.h"
#include "host/paths.h"
#include "test_cartridge.h"

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
    for (const int32_t code : {-1, -128, vk_controller_rewind + 1, 1000}) {
        key_down(code);
        EXPECT_FALSE(query_key(code)) << code;
        key_up(code);
    }
    key_down(vk_controller_first + 7);  // a controller's Select
    EXPECT_TRUE(query_key(vk_controller_first + 7));
    release_all_keys();
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

enum class executable_place { own_folder, installed_bin_folder, missing_folder };

// Creates `root`/prefix/bin laid out as `place` says and returns that folder.
std::filesystem::path lay_out(const std::filesystem::path& root, executable_place place) {
    const std::filesystem::path bin = root / "prefix" / "bin";
    if (place == executable_place::missing_folder) {
        return bin;
    }
    std::filesystem::create_directories(bin);
    if (place == executable_place::installed_bin_folder) {
        const std::filesystem::path marker = (bin / installed_copy_marker()).lexically_normal();
        std::filesystem::create_directories(marker.parent_path());
        std::ofstream(marker) << "[Desktop Entry]\n";
    }
    return bin;
}

// Each row runs in a fresh folder whose data folder is data/ and, when set,
// TOV_HOME is home/; `expected` is relative to that folder.
TEST(Paths, ProgramFolderFollowsHomeThenTheExecutableUnlessInstalled) {
    struct row {
        const char* name;
        bool tov_home_set;
        executable_place place;
        const char* expected;
    };
    const row rows[] = {
        {"a build tree's folder", false, executable_place::own_folder, "prefix/bin"},
        {"an installed copy's bin folder", false, executable_place::installed_bin_folder,
         "data/tov"},
        {"a folder that is not there", false, executable_place::missing_folder, "data/tov"},
        {"TOV_HOME over a build tree", true, executable_place::own_folder, "home"},
        {"TOV_HOME over an installed copy", true, executable_place::installed_bin_folder, "home"},
    };
    for (const row& each : rows) {
        const std::filesystem::path root = test::temp_path("_paths");
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        if (each.tov_home_set) {
            setenv("TOV_HOME", (root / "home").c_str(), 1);
        } else {
            unsetenv("TOV_HOME");
        }
        const std::filesystem::path expected = root / each.expected;
        EXPECT_EQ(program_folder_for(lay_out(root, each.place)), expected) << each.name;
        if (!each.tov_home_set) {
            EXPECT_TRUE(std::filesystem::is_directory(expected)) << each.name;
        }
        std::filesystem::remove_all(root);
    }
    unsetenv("TOV_HOME");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(program_folder(), std::filesystem::read_symlink("/proc/self/exe").parent_path())
        << "this test program sits in the build tree";
}

}  // namespace
}  // namespace tov
