// The accurate sound model heard through the runner's WAV output: the
// cartridges of tests/cartridges/sound played on the accurate machine, and
// their pitches, lengths, envelopes, sweeps and noise measured in the
// recording against the console's sound hardware and its 512 Hz sequencer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "headless_run.h"

namespace tov {
namespace {

using test::assembled_cartridge;
using test::image_patch;
using test::measured_frequency;
using test::run;
using test::run_result;
using test::source_of;
using test::wav_sound;
using samples = std::vector<int16_t>;

constexpr double console_hz = 4194304;  // console cycles in a second of the recording
constexpr int accurate_rate = 48000;

// What a cartridge of tests/cartridges/sound (assembled after the register
// names and routines they share) played in `frames` frames.
wav_sound accurate_sound(const std::string& name, int frames,
                         const std::vector<image_patch>& patches = {}) {
    assembled_cartridge cartridge(source_of("sound/hardware.asm") + source_of("sound/" + name),
                                  patches);
    const std::string wav = test::temp_path(".wav");
    const run_result result = run({cartridge.path, "--machine", "accurate", "--frames",
                                   std::to_string(frames), "--wav", wav});
    EXPECT_EQ(result.code, 0) << result.error;
    wav_sound sound = test::read_wav(wav);
    EXPECT_EQ(sound.rate, accurate_rate);
    std::filesystem::remove(wav);
    return sound;
}

// A cartridge kind, by header byte 0143: it runs on that model.
struct cartridge_kind {
    const char* name;
    uint8_t colour_flag;
};
constexpr cartridge_kind monochrome{"monochrome", 0x00};
constexpr cartridge_kind colour{"colour", 0x80};

// The frame sequencer steps 512 times a second, on the console's divider.
constexpr double sequencer_step_seconds = 1.0 / 512;

// 154 lines of 456 cycles.
constexpr double frame_seconds = 154 * 456 / console_hz;

// The middle of stage `stage` of a cartridge that plays stages of 30 frames,
// 80 ms clear of either end.
struct span {
    double from;
    double to;
};
span stage_middle(int stage) {
    return {30 * stage * frame_seconds + 0.08, 30 * (stage + 1) * frame_seconds - 0.08};
}

std::size_t index_at(const samples& sound, double seconds) {
    return std::min(sound.size(), static_cast<std::size_t>(std::max(0.0, seconds) * accurate_rate));
}

double seconds_at(std::size_t index) {
    return static_cast<double>(index) / accurate_rate;
}

// The largest change between neighbouring samples: an edge of the loudest
// square wave.
int largest_step(const samples& sound) {
    int largest = 0;
    for (std::size_t i = 1; i < sound.size(); ++i) {
        largest = std::max(largest, std::abs(sound[i] - sound[i - 1]));
    }
    return largest;
}

// The times of the changes between neighbouring samples above a quarter of
// the largest one, from `from` to `to` seconds: the edges of a square wave. A
// stopped channel has none, only a smooth fall to 0.
std::vector<double> edges(const samples& sound, double from, double to) {
    const int threshold = largest_step(sound) / 4;
    std::vector<double> times;
    for (std::size_t i = std::max<std::size_t>(1, index_at(sound, from)); i < index_at(sound, to);
         ++i) {
        if (std::abs(sound[i] - sound[i - 1]) > threshold) {
            times.push_back(seconds_at(i));
        }
    }
    return times;
}

double rms(const samples& sound, double from, double to) {
    double sum = 0;
    const std::size_t first = index_at(sound, from);
    const std::size_t end = index_at(sound, to);
    for (std::size_t i = first; i < end; ++i) {
        sum += static_cast<double>(sound[i]) * sound[i];
    }
    return end > first ? std::sqrt(sum / static_cast<double>(end - first)) : 0;
}

// The variance of windows of `width` samples of a recording, from running
// sums, so that every window start can be tried.
class window_variance {
public:
    window_variance(const samples& sound, std::size_t width) : width_(width) {
        sums_.push_back(0);
        squares_.push_back(0);
        for (const int16_t sample : sound) {
            sums_.push_back(sums_.back() + sample);
            squares_.push_back(squares_.back() + static_cast<double>(sample) * sample);
        }
    }
    // Window starts run from 0 to count() - 1.
    std::size_t count() const { return sums_.size() > width_ ? sums_.size() - width_ : 0; }
    double at(std::size_t first) const {
        const double n = static_cast<double>(width_);
        const double mean = (sums_[first + width_] - sums_[first]) / n;
        return (squares_[first + width_] - squares_[first]) / n - mean * mean;
    }

private:
    std::size_t width_;
    std::vector<double> sums_;
    std::vector<double> squares_;
};

// How alike the samples from `from` to `to` seconds are to those `lag`
// samples later (1: the same, 0: unrelated).
double correlation(const samples& sound, double from, double to, int lag) {
    double both = 0;
    double first_power = 0;
    double second_power = 0;
    const std::size_t end =
        std::min(index_at(sound, to), sound.size() - static_cast<std::size_t>(lag));
    for (std::size_t i = index_at(sound, from); i < end; ++i) {
        const double first = sound[i];
        const double second = sound[i + static_cast<std::size_t>(lag)];
        both += first * second;
        first_power += first * first;
        second_power += second * second;
    }
    return first_power > 0 && second_power > 0 ? both / std::sqrt(first_power * second_power) : 0;
}

TEST(AccurateSound, SoundOptionChoosesTheModel) {
    EXPECT_NE(run({"--help"}).out.find("--sound classic|accurate"), std::string::npos);

    assembled_cartridge tone(source_of("tone.asm"));
    const auto recording = [&](const std::vector<std::string>& sound_option) {
        const std::string wav = test::temp_path(".wav");
        std::vector<std::string> arguments = {tone.path, "--frames", "120", "--wav", wav};
        arguments.insert(arguments.end(), sound_option.begin(), sound_option.end());
        const run_result result = run(arguments);
        EXPECT_EQ(result.code, 0) << result.error;
        std::ifstream file(wav, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), {});
        file.close();
        const wav_sound sound = test::read_wav(wav);
        std::filesystem::remove(wav);
        return std::pair{bytes, sound};
    };
    const auto [plain, plain_sound] = recording({});
    const auto [classic, classic_sound] = recording({"--sound", "classic"});
    EXPECT_EQ(plain_sound.rate, 44100);
    EXPECT_TRUE(plain == classic) << "classic is the default";

    const auto [accurate, accurate_sound] = recording({"--sound", "accurate"});
    EXPECT_EQ(accurate_sound.rate, accurate_rate);
    // Register 1775: 131072 / (2048 - 1775) Hz.
    const double expected = 131072.0 / (2048 - 1775);
    EXPECT_NEAR(measured_frequency(accurate_sound.left, accurate_rate), expected, expected * 0.01);
    EXPECT_NEAR(measured_frequency(accurate_sound.right, accurate_rate), expected, expected * 0.01);

    const run_result bogus = run({tone.path, "--sound", "bogus"});
    EXPECT_EQ(bogus.code, 2);
    EXPECT_NE(bogus.error.find("--sound"), std::string::npos) << bogus.error;
    EXPECT_NE(bogus.error.find("'bogus'"), std::string::npos) << bogus.error;
}

TEST(AccurateSound, RecordingRunsOnTheConsolesTime) {
    for (const cartridge_kind& kind : {monochrome, colour}) {
        const wav_sound sound = accurate_sound("length.asm", 60, {{0x143, kind.colour_flag}});
        // The first frame is the rest of the one the start-up program left.
        EXPECT_NEAR(static_cast<double>(sound.left.size()), 60 * frame_seconds * accurate_rate,
                    frame_seconds * accurate_rate)
            << kind.name;
        EXPECT_EQ(sound.left.size(), sound.right.size());
    }
}

TEST(AccurateSound, LengthCountersStopNotesAfterTheirSteps) {
    struct case_t {
        const char* channel;
        bool left;
        int steps;
        double tone_hz;
    };
    const case_t cases[] = {
        {"channel 1 (left), NR11 length 0", true, 64, 2048},
        {"channel 2 (right), NR21 length 16", false, 48, 1024},
    };
    for (const cartridge_kind& kind : {monochrome, colour}) {
        const wav_sound sound = accurate_sound("length.asm", 30, {{0x143, kind.colour_flag}});
        for (const case_t& test : cases) {
            const std::vector<double> heard = edges(test.left ? sound.left : sound.right, 0, 1);
            ASSERT_FALSE(heard.empty()) << kind.name << ", " << test.channel;
            EXPECT_LT(heard.front(), 0.002) << "starts at power-on";
            // Length steps come every 2 sequencer steps, the first up to one
            // length step after the start; the last edge is up to a tone period early.
            const double length_step = 2 * sequencer_step_seconds;
            EXPECT_NEAR(heard.back() - heard.front(), (test.steps - 0.5) * length_step,
                        length_step / 2 + 1 / test.tone_hz)
                << kind.name << ", " << test.channel;
        }
    }
}

TEST(AccurateSound, EnvelopesLowerTheVolumeOneStepEachPeriod) {
    const wav_sound sound = accurate_sound("envelope.asm", 60);
    struct case_t {
        const char* channel;
        bool left;
        int period;
    };
    const case_t cases[] = {
        {"channel 1 (left), NR12 F3", true, 3},
        {"channel 2 (right), NR22 F1", false, 1},
    };
    // An envelope tick every 8 sequencer steps.
    const double tick = 8 * sequencer_step_seconds;
    // The volume is read from the variance of windows of one sequencer step
    // (2 or 4 tone periods), which grows with the square of the volume; a
    // window is placed at its middle.
    const std::size_t width = static_cast<std::size_t>(sequencer_step_seconds * accurate_rate);
    const double measure = 0.001;  // how far off a step's time may be read
    for (const case_t& test : cases) {
        const samples& heard = test.left ? sound.left : sound.right;
        const std::vector<double> onsets = edges(heard, 0, 1);
        ASSERT_FALSE(onsets.empty()) << test.channel;
        const double start = onsets.front();
        const window_variance variance(heard, width);
        double full = 0;  // volume 15
        for (std::size_t first = 0; first < variance.count(); ++first) {
            full = std::max(full, variance.at(first));
        }
        // When each of the 15 steps down (to volume v = 15 - k) is heard: the
        // first window below the middle of the variances of v + 1 and v.
        std::vector<double> step_at;
        std::size_t first = index_at(heard, start);
        for (int volume = 14; volume >= 0; --volume) {
            const double below =
                full * ((volume + 1) * (volume + 1) + volume * volume) / 2 / (15.0 * 15.0);
            while (first < variance.count() && variance.at(first) >= below) {
                ++first;
            }
            ASSERT_LT(first, variance.count())
                << test.channel << " never reaches volume " << volume;
            step_at.push_back(seconds_at(first) + seconds_at(width) / 2);
        }
        // The first tick comes up to one tick after the start, then a step
        // every `period` ticks.
        EXPECT_NEAR(step_at[0] - start, (test.period - 0.5) * tick, tick / 2 + measure)
            << test.channel;
        for (int k = 1; k < 15; ++k) {
            EXPECT_NEAR(step_at[k] - step_at[k - 1], test.period * tick, measure)
                << test.channel << ", volume " << 15 - k << " to " << 14 - k;
        }
        EXPECT_NEAR(step_at[14] - step_at[0], 14 * test.period * tick, measure) << test.channel;
        EXPECT_NEAR(step_at[14] - start, (15 * test.period - 0.5) * tick, tick / 2 + measure)
            << test.channel << ": silent after 15 steps";
        EXPECT_TRUE(edges(heard, step_at[14] + 0.01, 10).empty()) << test.channel;
        EXPECT_LT(rms(heard, step_at[14] + 0.1, 10), std::sqrt(full) / 100) << test.channel;
    }
}

TEST(AccurateSound, SweepRaisesThePitchUntilItOverflows) {
    const wav_sound sound = accurate_sound("sweep.asm", 40);
    const samples& heard = sound.left;
    // The first note (register 1900, shift 3) overflows as it starts: after
    // the click of its DAC turning on (at 0 s) nothing until the second note,
    // 12 frames (about 0.2 s) later. Without that check it would sound until
    // its first sweep step, at least 6 sweep ticks (47 ms).
    EXPECT_TRUE(edges(heard, 0.01, 0.1).empty()) << "register 1900 is refused at its start";
    const std::vector<double> second = edges(heard, 0.1, 10);
    ASSERT_FALSE(second.empty());
    const double start = second.front();
    // Sweep ticks on sequencer steps 2 and 6; the register steps every 7 of
    // them, the first tick coming up to one tick after the start, so pitch k
    // surely sounds from tick 7k to 7k + 6.
    const double tick = 4 * sequencer_step_seconds;
    const int registers[] = {1200, 1350, 1518, 1707};
    for (int k = 0; k < 4; ++k) {
        const double expected = 131072.0 / (2048 - registers[k]);
        EXPECT_NEAR(measured_frequency(heard, accurate_rate, start + 7 * k * tick + 0.001,
                                       start + (7 * k + 6) * tick - 0.001),
                    expected, expected * 0.01)
            << "register " << registers[k];
    }
    // It stops on the 4th step (1707 + 213 = 1920, whose next value 2160 is
    // above 7FF): 27 to 28 ticks after the start, its last edge up to a period early.
    EXPECT_NEAR(second.back() - start, 27.5 * tick, tick / 2 + 1 / (131072.0 / (2048 - 1707)));
    EXPECT_LT(rms(heard, second.back() + 0.1, 10), largest_step(heard) / 100.0);
}

// The spread (standard deviation) of the wave cartridge's triangle, 0 to F
// and back, with its samples shifted right by `shift` as a level does.
double triangle_spread(int shift) {
    double sum = 0;
    double squares = 0;
    for (int i = 0; i < 32; ++i) {
        const int sample = (i < 16 ? i : 31 - i) >> shift;
        sum += sample;
        squares += sample * sample;
    }
    return std::sqrt(squares / 32 - (sum / 32) * (sum / 32));
}

TEST(AccurateSound, WaveChannelPlaysItsSamplesAtItsPitchAndLevel) {
    const wav_sound sound = accurate_sound("wave.asm", 160);
    const samples& heard = sound.left;
    struct case_t {
        const char* stage;
        double hz;      // 65536 / (2048 - register) for the 32 samples
        double height;  // the spread against the second stage's
    };
    const case_t cases[] = {
        {"register 1792", 65536.0 / (2048 - 1792), 1},
        {"register 1985", 65536.0 / (2048 - 1985), 1},
        {"level 50 %", 65536.0 / (2048 - 1985), triangle_spread(1) / triangle_spread(0)},
        {"level 25 %", 65536.0 / (2048 - 1985), triangle_spread(2) / triangle_spread(0)},
        {"muted", 0, 0},
    };
    const double full = rms(heard, stage_middle(1).from, stage_middle(1).to);
    ASSERT_GT(full, 500);
    for (int stage = 0; stage < 5; ++stage) {
        const case_t& test = cases[stage];
        const span middle = stage_middle(stage);
        if (test.hz > 0) {
            EXPECT_NEAR(measured_frequency(heard, accurate_rate, middle.from, middle.to), test.hz,
                        test.hz * 0.01)
                << test.stage;
        }
        EXPECT_NEAR(rms(heard, middle.from, middle.to) / full, test.height, 0.003) << test.stage;
    }
    EXPECT_TRUE(sound.left == sound.right) << "the channel plays on both sides";
}

TEST(AccurateSound, NoiseWidthsAreToldApart) {
    const wav_sound sound = accurate_sound("noise.asm", 100);
    const samples& heard = sound.left;
    struct case_t {
        const char* nr43;
        double shifts_per_second;  // 262144 / (r' * 2^s), r' = r or 0.5 for r = 0
        bool seven_bit;
    };
    const case_t cases[] = {
        {"48", 262144 / (0.5 * 16), true},
        {"1B", 262144 / (3.0 * 2), true},
        {"40", 262144 / (0.5 * 16), false},
    };
    for (int stage = 0; stage < 3; ++stage) {
        const case_t& test = cases[stage];
        const span middle = stage_middle(stage);
        EXPECT_GT(rms(heard, middle.from, middle.to), 1000) << "NR43 " << test.nr43;
        // The 7-bit register repeats every 127 shifts; look for the best match
        // within 3 % of that lag.
        const double repeat = 127 * accurate_rate / test.shifts_per_second;
        int best_lag = 0;
        double best = -1;
        for (int lag = static_cast<int>(repeat * 0.97); lag <= static_cast<int>(repeat * 1.03);
             ++lag) {
            const double alike = correlation(heard, middle.from, middle.to, lag);
            if (alike > best) {
                best = alike;
                best_lag = lag;
            }
        }
        if (test.seven_bit) {
            EXPECT_GT(best, 0.5) << "NR43 " << test.nr43;
            // The peak between samples, from its neighbours.
            const double before = correlation(heard, middle.from, middle.to, best_lag - 1);
            const double after = correlation(heard, middle.from, middle.to, best_lag + 1);
            const double offset = 0.5 * (before - after) / (before - 2 * best + after);
            const double hz = accurate_rate / (best_lag + offset);
            const double expected = test.shifts_per_second / 127;
            EXPECT_NEAR(hz, expected, expected * 0.01) << "NR43 " << test.nr43;
        } else {
            EXPECT_LT(best, 0.2) << "NR43 " << test.nr43 << " does not repeat after 127 shifts";
        }
    }
}

TEST(AccurateSound, MelodyPlaysOnBothSidesWithoutClipping) {
    const wav_sound sound = accurate_sound("melody.asm", 600);
    ASSERT_EQ(sound.left.size(), sound.right.size());
    std::size_t different = 0;
    std::size_t clipped = 0;
    for (std::size_t i = 0; i < sound.left.size(); ++i) {
        different += sound.left[i] != sound.right[i];
        clipped += sound.left[i] <= -32767 || sound.left[i] >= 32767;
    }
    EXPECT_EQ(different, 0u) << "every channel plays on both sides";
    EXPECT_EQ(clipped, 0u);
    // Never silent: every quarter second has sound (10 s in 600 frames).
    const double length = seconds_at(sound.left.size());
    EXPECT_GT(length, 9.5);
    for (double at = 0; at + 0.25 <= length; at += 0.25) {
        EXPECT_GT(rms(sound.left, at, at + 0.25), 500) << "at " << at << " s";
    }
}

// The colour model's FF76 and FF77 show each channel's level as it plays;
// the monochrome console has no such registers.
TEST(AccurateSound, LevelRegistersShowWhatEachChannelPlays) {
    struct case_t {
        cartridge_kind kind;
        std::set<int> levels[2];  // every value FF76 and FF77 must show, and no other
    };
    const case_t cases[] = {
        // The wave channel has read its first sample before the first pair.
        {colour, {{0x00, 0x0F, 0x80, 0x8F}, {0x05, 0x0A, 0xC5, 0xCA}}},
        {monochrome, {{0xFF}, {0xFF}}},
    };
    for (const case_t& test : cases) {
        assembled_cartridge cartridge(
            source_of("sound/hardware.asm") + source_of("sound/levels.asm"),
            {{0x143, test.kind.colour_flag}});
        const std::string sent = test::serial_sent(cartridge.path, 30);
        ASSERT_EQ(sent.size(), 256u) << test.kind.name;
        std::set<int> seen[2];
        for (std::size_t i = 0; i < sent.size(); ++i) {
            seen[i % 2].insert(static_cast<uint8_t>(sent[i]));
        }
        EXPECT_EQ(seen[0], test.levels[0]) << test.kind.name << ", FF76";
        EXPECT_EQ(seen[1], test.levels[1]) << test.kind.name << ", FF77";
    }
}

}  // namespace
}  // namespace tov
