// The accurate sound's way to the sound card: the buffer holds its fill
// while the emulation's clock and the card's differ, and the sound fades in
// and out instead of jumping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "stream/sound_stream.h"

namespace tov {
namespace {

constexpr int card_rate = 48000;
constexpr int card_block = 512;

// A 440 Hz tone at half of full scale, `count` mixed frames from `start`.
std::vector<float> tone(long start, int count) {
    std::vector<float> frames(static_cast<std::size_t>(count) * 2);
    for (int i = 0; i < count; ++i) {
        const float value = 0.5f * std::sin(2 * 3.14159265f * 440 * (start + i) / mixed_frame_rate);
        frames[i * 2] = value;
        frames[i * 2 + 1] = value;
    }
    return frames;
}

// Runs `seconds` of card time: the card takes blocks at its rate while the
// emulation mixes `speed` times the nominal frames per second, in the
// mixer's blocks of 512. Returns the card's output.
std::vector<int16_t> play(sound_stream& stream, double speed, int seconds, long& mixed) {
    std::vector<int16_t> out;
    const double mixed_per_block = mixed_frame_rate * speed * card_block / card_rate;
    double owed = 0;
    for (int block = 0; block < seconds * card_rate / card_block; ++block) {
        for (owed += mixed_per_block; owed >= 512; owed -= 512, mixed += 512) {
            stream.take(tone(mixed, 512).data(), 512);
        }
        std::vector<int16_t> part(card_block * 2, 0);
        stream.mix_into(part.data(), card_block);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

TEST(SoundStream, HoldsItsFillWhileTheClocksDiffer) {
    for (const double speed : {0.98, 1.0, 1.012, 1.03}) {
        SCOPED_TRACE(speed);
        sound_stream stream(card_rate);
        stream.set_heard(true);
        long mixed = 0;
        play(stream, speed, 10, mixed);  // settles
        stream.take_stats();
        const std::vector<int16_t> out = play(stream, speed, 20, mixed);
        const sound_stream::statistics stats = stream.take_stats();
        EXPECT_EQ(stats.underruns, 0u);
        const int band = card_rate * 20 / 1000;
        EXPECT_GT(stats.lowest_fill, stats.target_frames - band);
        EXPECT_LT(stats.highest_fill, stats.target_frames + band);
        int silent_run = 0;
        int longest_silent_run = 0;
        for (std::size_t i = 0; i < out.size(); i += 2) {
            silent_run = out[i] == 0 ? silent_run + 1 : 0;
            longest_silent_run = std::max(longest_silent_run, silent_run);
        }
        EXPECT_LT(longest_silent_run, 3) << "no gap inside the tone";
    }
}

TEST(SoundStream, FadesInAndOutWithoutAJump) {
    sound_stream stream(card_rate);
    stream.set_heard(true);
    long mixed = 0;
    const std::vector<int16_t> start = play(stream, 1.0, 1, mixed);
    stream.set_heard(false);
    const std::vector<int16_t> end = play(stream, 1.0, 1, mixed);
    for (const std::vector<int16_t>* out : {&start, &end}) {
        int largest_step = 0;
        for (std::size_t i = 2; i < out->size(); i += 2) {
            largest_step = std::max(largest_step, std::abs((*out)[i] - (*out)[i - 2]));
        }
        // The tone itself moves at most 0.5 x 2 pi x 440 / 48000 of full scale a frame.
        EXPECT_LT(largest_step, 32767 * 0.03);
    }
    EXPECT_NE(start[card_rate], 0) << "heard after the start";
    EXPECT_EQ(end[end.size() - 2], 0) << "silent after the end";
}

}  // namespace
}  // namespace tov
