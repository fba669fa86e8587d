#include "host/sdl_audio.h"

#include <SDL.h>

#include <cstdio>

namespace tov {

namespace {

constexpr int rate = sdl_audio_rate;

class sdl_audio : public audio_backend {
public:
    // Made once the audio subsystem is up, which it takes down again.
    sdl_audio() = default;
    ~sdl_audio() override {
        if (device_ != 0) {
            SDL_CloseAudioDevice(device_);
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    sdl_audio(const sdl_audio&) = delete;
    sdl_audio& operator=(const sdl_audio&) = delete;

    // Opens the default device, paused.
    bool open(const SDL_AudioSpec& wanted) {
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        return device_ != 0;
    }

    void lock() override { SDL_LockAudioDevice(device_); }
    void unlock() override { SDL_UnlockAudioDevice(device_); }
    int output_rate() const override { return rate; }

    void start() { SDL_PauseAudioDevice(device_, 0); }

    // SDL holds the device's lock while it calls back.
    static void callback(void* self, Uint8* output, int length) {
        static_cast<const sdl_audio*>(self)->pull(reinterpret_cast<int16_t*>(output), length / 4);
    }

private:
    SDL_AudioDeviceID device_ = 0;
};

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
    wanted.callback = sdl_audio::callback;
    // The device exists before it is opened, so the callback has its object.
    auto audio = std::make_unique<sdl_audio>();
    wanted.userdata = audio.get();
    if (!audio->open(wanted)) {
        report_no_device("Fehler: DirectSound Initialisierung");
        return nullptr;
    }
    audio->start();
    return audio;
}

}  // namespace tov
