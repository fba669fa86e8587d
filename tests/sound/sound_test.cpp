#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "audio/sound_output.h"
#include "classic/memory/memory_map.h"
#include "host/clock.h"
#include "host/memory_audio.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/shell_flags.h"
#include "machine/timing.h"
#include "sound/channels.h"
#include "sound/output_device.h"
#include "test_cartridge.h"

namespace tov {
namespace {

// The 16-bit samples of a voice from byte `offset`, `count` of them.
std::vector<int16_t> samples_of(sound_buffer& voice, int32_t offset, int count) {
    const uint8_t* bytes = voice.lock(offset, count * 2);
    std::vector<int16_t> samples(static_cast<std::size_t>(count));
    std::memcpy(samples.data(), bytes, samples.size() * 2);
    voice.unlock();
    return samples;
}

int nonzero_count(const std::vector<int16_t>& samples) {
    int count = 0;
    for (const int16_t sample : samples) {
        count += sample != 0;
    }
    return count;
}

class Sound : public test::machine_test {
protected:
    void SetUp() override {
        use_fake_clock(1000);
        auto device = std::make_unique<memory_audio>(true);
        audio_ = device.get();
        device->play_from(mix_output);  // the voices, with no stream beside them
        start_sound(std::move(device));
        load(0x00);
        for (channel_state& channel : sound_channels) {
            channel = channel_state{};
        }
        last_refill_ms = 1000;
    }
    void TearDown() override { close_sound_device(); }

    sound_buffer& voice(int channel) { return *voice_of_channel(channel); }

    // One sound tick at wall-clock time `time`.
    static void tick_at(double time) {
        now_ms = time;
        sound_tick();
    }

    memory_audio* audio_ = nullptr;
};

TEST_F(Sound, VoicesHaveTheirSizesAndStartSilent) {
    create_sound_device(std::make_unique<memory_audio>(false));
    for (const int channel : {1, 2, 4}) {
        EXPECT_EQ(voice(channel).size(), 2940);
        EXPECT_EQ(voice(channel).samples_per_second(), 44100);
        EXPECT_EQ(nonzero_count(samples_of(voice(channel), 0, 1470)), 0);
    }
    EXPECT_EQ(voice(3).size(), 128);
    EXPECT_EQ(voice(3).samples_per_second(), 6553);
}

TEST_F(Sound, SquareWaveShapes) {
    struct case_t {
        int32_t frequency;
        int duty;
        float volume;
        int32_t amplitude;
        int high_samples;  // non-zero samples in the half
    };
    // periods = f / 60 + 1 per half of 1470 bytes; period = 1470 / periods bytes.
    const case_t cases[] = {
        // 7FF on channel 1: 65536 Hz, period 1 byte: only the first sample is high.
        {131072 / (2049 - 0x7FF), 0, 15, 16383, 1},
        // 000: 63 Hz, 2 periods of 735 bytes; duty 2 high from byte 367: 184 of 368.
        {131072 / 2049, 2, 15, 16383, 2 * 184 - 1},
        // 63 Hz, duty 0: high from byte 643 (7/8): 46 samples a period.
        {63, 0, 1, 1092, 2 * 46 - 1},
        // 63 Hz, duty 3: high from byte 183 (1/4): 276 samples a period.
        {63, 3, 1, 1092, 2 * 276 - 1},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message() << test.frequency << " Hz duty " << test.duty);
        fill_square(&voice(1), test.frequency, test.duty, test.volume);
        const std::vector<int16_t> half = samples_of(voice(1), 1470, 735);
        int highest = 0;
        for (const int16_t sample : half) {
            EXPECT_TRUE(sample == 0 || sample == test.amplitude) << sample;
            highest = std::max<int>(highest, sample);
        }
        EXPECT_EQ(highest, test.amplitude);
        EXPECT_EQ(nonzero_count(half), test.high_samples);
    }
    fill_square(&voice(1), 0, 0, 15);
    EXPECT_EQ(nonzero_count(samples_of(voice(1), 1470, 735)), 0) << "frequency 0 is silence";
}

TEST_F(Sound, TheHalfNotPlayingIsWritten) {
    fill_square(&voice(1), 600, 2, 15);
    EXPECT_EQ(nonzero_count(samples_of(voice(1), 0, 735)), 0) << "playing at 0: second half";
    EXPECT_GT(nonzero_count(samples_of(voice(1), 1470, 735)), 0);
    audio_->advance(800);
    EXPECT_EQ(voice(1).play_position(), 1600);
    fill_square(&voice(1), 600, 2, 15);
    EXPECT_GT(nonzero_count(samples_of(voice(1), 0, 735)), 0) << "playing the second half";
}

TEST_F(Sound, LengthRunsOutOnTheThirdRefill) {
    write_byte(0xFF12, 0xF0);
    write_byte(0xFF11, 0x3F);
    EXPECT_EQ(sound_channels[0].length_left, 4);
    write_byte(0xFF13, 0x00);
    write_byte(0xFF14, 0xC7);  // start, length on
    EXPECT_EQ(read_byte(0xFF26) & 0x01, 0x01);
    tick_at(1002);
    EXPECT_EQ(sound_channels[0].length_left, 3);
    tick_at(1003);
    EXPECT_EQ(sound_channels[0].length_left, 3) << "a refill waits 2 ms";
    tick_at(1004);
    EXPECT_EQ(sound_channels[0].length_left, 2);
    EXPECT_EQ(sound_channels[0].active, 1);
    tick_at(1006);
    EXPECT_EQ(sound_channels[0].active, 0);
    EXPECT_EQ(sound_channels[0].frequency_hz, 0);
    EXPECT_EQ(read_byte(0xFF26) & 0x01, 0x00);
    EXPECT_EQ(nonzero_count(samples_of(voice(1), 1470, 735)), 0) << "refilled with silence";
    write_byte(0xFF11, 0x00);
    EXPECT_EQ(sound_channels[0].length_left, 256);
}

TEST_F(Sound, EnvelopeStepsAgainstTheClock) {
    use_fake_clock(1000);
    write_byte(0xFF12, 0xF3);  // volume 15, falling, a step every 3 x 64 ms
    struct step {
        double time;
        int32_t volume;
    };
    const step steps[] = {{1100, 15}, {1191, 15}, {1192, 14}, {1300, 14}, {1384, 13}};
    for (const step& at : steps) {
        tick_at(at.time);
        EXPECT_EQ(sound_channels[0].volume, at.volume) << at.time;
    }
    write_byte(0xFF12, 0x19);  // volume 1, rising, every 64 ms
    for (int i = 1; i <= 20; ++i) {
        tick_at(1000 + 64.0 * i);
    }
    EXPECT_EQ(sound_channels[0].volume, 15) << "stops at 15";
}

TEST_F(Sound, WaveVoiceFollowsNr30) {
    const uint8_t wave[16] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0,
                              0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    for (int i = 0; i < 16; ++i) {
        write_byte(0xFF30 + i, wave[i]);
    }
    write_byte(0xFF1A, 0x80);
    EXPECT_EQ(nonzero_count(samples_of(voice(3), 0, 64)), 0) << "channel 3 is off: not loaded";

    channel_enabled[2] = 1;
    write_byte(0xFF1A, 0x80);
    const std::vector<int16_t> loaded = samples_of(voice(3), 64, 32);
    const int16_t expected_start[4] = {1 * 512, 2 * 512, 3 * 512, 4 * 512};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(loaded[k], expected_start[k]);
    }
    EXPECT_EQ(loaded[15], 0);
    EXPECT_EQ(loaded[31], 15 * 512);
    EXPECT_EQ(read_byte(0xFF26) & 0x04, 0x04);

    write_byte(0xFF30, 0xFF);
    EXPECT_EQ(samples_of(voice(3), 64, 1)[0], 512) << "wave RAM is read only at NR30";

    channel_enabled[2] = 0;
    write_byte(0xFF1A, 0x00);
    EXPECT_EQ(nonzero_count(samples_of(voice(3), 0, 64)), 0) << "silenced whatever the option";
    EXPECT_EQ(read_byte(0xFF26) & 0x04, 0x00);
}

TEST_F(Sound, Nr51SetsThePansOfChannelsOneAndTwo) {
    struct case_t {
        uint8_t value;
        int32_t pan1, pan2;
    };
    const case_t cases[] = {
        {0x11, 50, 0},   {0x10, 0, 0},    {0x01, 100, 0},
        {0x22, 100, 50}, {0x00, 100, 50}, {0xCC, 100, 50},
    };
    voice(1).set_pan(0);
    voice(2).set_pan(0);
    for (const case_t& test : cases) {
        write_byte(0xFF25, test.value);
        EXPECT_EQ(voice(1).pan(), test.pan1) << std::hex << +test.value;
        EXPECT_EQ(voice(2).pan(), test.pan2) << std::hex << +test.value;
    }
}

TEST_F(Sound, PanAttenuatesTheFarSide) {
    fill_square(&voice(1), 0, 0, 0);
    uint8_t* bytes = voice(1).lock(0, 4);
    const int16_t loud = 10000;
    std::memcpy(bytes, &loud, 2);
    voice(1).unlock();
    voice(2).stop();
    voice(4).stop();
    voice(1).set_pan(600);  // 6 dB: about half on the left
    audio_->advance(1);
    const std::vector<int16_t>& output = audio_->output();
    EXPECT_NEAR(output[0], 10000 * std::pow(10.0, -0.3), 1);
    EXPECT_EQ(output[1], 10000);
}

TEST_F(Sound, ToggleSoundTwicePlaysVoicesOneTwoAndFourWhateverTheirOptions) {
    channel_enabled[0] = 0;
    toggle_sound();
    for (int channel = 1; channel <= 4; ++channel) {
        EXPECT_FALSE(voice(channel).playing()) << channel;
    }
    toggle_sound();
    EXPECT_TRUE(voice(1).playing());
    EXPECT_TRUE(voice(2).playing());
    EXPECT_TRUE(voice(4).playing());
    EXPECT_FALSE(voice(3).playing()) << "channel 3 is disabled";
    EXPECT_EQ(sound_enabled, 1);
}

TEST_F(Sound, PlaybackFollowsTheOptions) {
    rom_loaded = 1;
    stop_playback();
    EXPECT_EQ(emulation_running, 0);
    EXPECT_FALSE(voice(1).playing());
    start_playback();
    EXPECT_EQ(emulation_running, 1);
    EXPECT_TRUE(voice(1).playing());
    EXPECT_TRUE(voice(2).playing());
    EXPECT_FALSE(voice(4).playing()) << "channel 4 is disabled";

    stop_playback();
    toggle_sound();  // off
    start_playback();
    EXPECT_FALSE(voice(1).playing()) << "sound off plays nothing";
    toggle_sound();
    rom_loaded = 0;
    emulation_running = 0;
}

TEST_F(Sound, ADisabledChannelKeepsPlayingAndIsRefilledWithSilence) {
    write_byte(0xFF12, 0xF0);
    write_byte(0xFF11, 0x80);
    write_byte(0xFF13, 0x00);
    write_byte(0xFF14, 0x84);
    EXPECT_GT(nonzero_count(samples_of(voice(1), 1470, 735)), 0);
    toggle_channel(1);
    EXPECT_TRUE(voice(1).playing());
    tick_at(1002);
    EXPECT_EQ(nonzero_count(samples_of(voice(1), 1470, 735)), 0);
    write_byte(0xFF14, 0x84);
    EXPECT_EQ(nonzero_count(samples_of(voice(1), 1470, 735)), 0) << "a trigger renders nothing";
    toggle_channel(1);
}

TEST_F(Sound, WithSoundOffTheTickStillStepsButNeitherCountsNorRefills) {
    toggle_sound();
    write_byte(0xFF12, 0xF1);
    write_byte(0xFF11, 0x3F);
    write_byte(0xFF14, 0xC0);
    fill_square(&voice(1), 0, 0, 0);
    tick_at(1070);
    EXPECT_EQ(sound_channels[0].volume, 14) << "the envelope still steps";
    EXPECT_EQ(sound_channels[0].length_left, 4) << "no length counting";
    EXPECT_EQ(last_refill_ms, 1070) << "the pass time is taken all the same";
    toggle_sound();
}

TEST_F(Sound, SweepShiftsTheFrequencyThroughTheWritePath) {
    write_byte(0xFF13, 0x00);
    write_byte(0xFF14, 0x01);  // f = 100
    write_byte(0xFF10, 0x01);  // time field 0: 54.7 ms, shift 1, up
    EXPECT_FLOAT_EQ(sound_channels[0].sweep_time_left, 54.7f);
    tick_at(1007.8);
    EXPECT_EQ(io_page[NR14], 0x02);
    EXPECT_EQ(io_page[NR13], 0x00);
    EXPECT_FLOAT_EQ(sound_channels[0].sweep_time_left, 54.7f - 7.8f);
    write_byte(0xFF10, 0x19);  // field 1: the time is left as it was, down
    EXPECT_FLOAT_EQ(sound_channels[0].sweep_time_left, 54.7f - 7.8f);
    tick_at(1020);
    EXPECT_EQ(io_page[NR14], 0x01) << "shifted back down";
}

TEST_F(Sound, NoiseStartsFromItsRatioAndFalls) {
    struct case_t {
        uint8_t value;
        int32_t start, ratio, width;
    };
    const case_t cases[] = {
        {0x00, 524289, 2, 15},
        {0x01, 262145, 1, 15},
        {0x0A, 174763 ^ 1 ^ 1, 0, 7},
    };
    for (const case_t& test : cases) {
        write_byte(0xFF22, test.value);
        EXPECT_EQ(sound_channels[3].frequency_hz, test.start) << std::hex << +test.value;
        EXPECT_EQ(sound_channels[3].noise_ratio, test.ratio);
        EXPECT_EQ(sound_channels[3].noise_width, test.width);
        tick_at(1000);
        EXPECT_EQ(sound_channels[3].frequency_hz, test.start - test.width) << "falls every tick";
    }
}

TEST_F(Sound, Nr52ReportsEachActiveChannel) {
    write_byte(0xFF26, 0x80);
    write_byte(0xFF11, 0x00);
    write_byte(0xFF20, 0x00);
    EXPECT_EQ(read_byte(0xFF26), 0x89);
    write_byte(0xFF1B, 0x00);
    write_byte(0xFF16, 0x00);
    EXPECT_EQ(read_byte(0xFF26), 0x8F);
}

TEST_F(Sound, ResetSilencesVoicesOneAndTwo) {
    fill_square(&voice(1), 600, 2, 15);
    fill_square(&voice(2), 600, 2, 15);
    silence_squares();
    EXPECT_EQ(nonzero_count(samples_of(voice(1), 0, 1470)), 0);
    EXPECT_EQ(nonzero_count(samples_of(voice(2), 0, 1470)), 0);
}

TEST(SoundWithoutDevice, EveryVoiceOperationDoesNothing) {
    close_sound_device();
    create_sound_device(nullptr);
    for (int channel = 1; channel <= 4; ++channel) {
        EXPECT_EQ(voice_of_channel(channel), nullptr);
    }
    channel_enabled[0] = 1;
    write_byte(0xFF14, 0x87);
    write_byte(0xFF25, 0x11);
    load_wave();
    silence_wave();
    silence_squares();
    sound_enabled = 0;
    toggle_sound();
    EXPECT_EQ(sound_enabled, 1) << "the option still follows the menu";
    rom_loaded = 1;
    start_playback();
    EXPECT_EQ(emulation_running, 1);
    stop_playback();
    rom_loaded = 0;
}

TEST(SoundErrors, EachMessageIsReportedOnce) {
    testing::internal::CaptureStderr();
    report_error(1, "Fehler: PufferUnlock");
    report_error(1, "Fehler: PufferUnlock");
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "tov: sound: Fehler: PufferUnlock (1)\n");
}

}  // namespace
}  // namespace tov
