// Rewind through the runner: holding the rewind control shows the game's
// earlier pictures, and the game plays on from where it was let go, on both
// machines. States are kept every 4th frame, at frames 3, 7, ... 599; held
// from frame 600 for 60 frames, the picture steps back once every 4 frames,
// from frame 599's to frame 539's.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "headless_run.h"

namespace tov {
namespace {

TEST(Rewind, HoldingTheControlShowsEarlierFramesAndPlaysOnFromThere) {
    const test::assembled_cartridge scene(test::source_of("bench/colour_scroll.asm") +
                                          test::source_of("bench/scene.asm"));
    for (const char* machine : {"classic", "accurate"}) {
        SCOPED_TRACE(machine);
        const auto picture_after = [&](const std::vector<std::string>& options) {
            const std::string shot = test::temp_path(".png");
            std::vector<std::string> arguments = {scene.path, "--machine", machine, "--screenshot",
                                                  shot};
            arguments.insert(arguments.end(), options.begin(), options.end());
            const test::run_result result = test::run(arguments);
            EXPECT_EQ(result.code, 0) << result.error;
            const test::rgb_picture picture = test::read_png(shot);
            std::filesystem::remove(shot);
            return picture.pixels;
        };
        const auto frame_539 = picture_after({"--frames", "540"});
        const auto frame_599 = picture_after({"--frames", "600"});
        ASSERT_NE(frame_539, frame_599) << "the scene scrolls";
        const std::vector<std::string> held = {"--rewind", "60", "--press", "rewind@600+60"};
        std::vector<std::string> back = held;
        back.insert(back.end(), {"--frames", "660"});
        EXPECT_EQ(picture_after(back), frame_539);
        std::vector<std::string> on = held;
        on.insert(on.end(), {"--frames", "720"});
        EXPECT_EQ(picture_after(on), frame_599) << "60 frames played on from frame 539";
    }
}

}  // namespace
}  // namespace tov
