#include "audio/sdl_audio.h"

#include <SDL.h>

#include <cstdio>

#include "audio/sound_output.h"
#include "sound/output_device.h"

namespace tov {

namespace {

constexpr int rate = sdl_audio_rate;

class sdl_audio : public audio_backend {
public:
    explicit sdl_audio(SDL_AudioDeviceID device) : device_(device) {}
    ~sdl_audio() override {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void lock() override { SDL_LockAudioDevice(device_); }
    void unlock() override { SDL_UnlockAudioDevice(device_); }
    int output_rate() const override { return rate; }

    void start() { SDL_PauseAudioDevice(device_, 0); }

private:
    SDL_AudioDeviceID device_;
};

// SDL holds the device's lock while it calls back.
void mix_callback(void*, Uint8* output, int length) {
    mix_output(reinterpret_cast<int16_t*>(output), length / 4);
}

// Reports the failure in the system's own words, then says plainly what it
// means for the player, with SDL's reason.
void report_no_device(const char* system_text) {
    report_error(0, system_text);
    std::fprintf(stderr, "tov: no sound device could be opened (SDL: %s); TOV runs silent.\n",
                 SDL_GetError());
}

}  // namespace

std::unique_ptr<audio_backend> open_sdl_audio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        report_no_device("Fehler: DirectSound Erzeugung");
        return nullptr;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 512;
    wanted.callback = mix_callback;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        report_no_device("Fehler: DirectSound Initialisierung");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    auto audio = std::make_unique<sdl_audio>(device);
    audio->start();
    return audio;
}

}  // namespace tov
