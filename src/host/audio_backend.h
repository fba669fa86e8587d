// Where the sound is heard: an audio device that pulls its output on its own
// thread (SDL), or an in-memory one that tests and the headless runner
// advance by hand. The device knows nothing of what it plays: it is handed
// the function that makes the output.
#pragma once

#include <cstdint>

namespace tov {

// Writes the next `frames` stereo frames of 16-bit output into `out`; the
// device calls it with its lock held.
using audio_source = void (*)(int16_t* out, int frames);

class audio_backend {
public:
    virtual ~audio_backend() = default;

    // Keeps the device from pulling output until unlock; what it plays may
    // then be changed safely.
    virtual void lock() = 0;
    virtual void unlock() = 0;

    // Output frames per second (stereo frames).
    virtual int output_rate() const = 0;

    // From now on the device plays what `source` makes; before, silence.
    void play_from(audio_source source);

protected:
    // The next `frames` stereo frames, from the source or silent; called with
    // the lock held.
    void pull(int16_t* out, int frames) const;

private:
    audio_source source_ = nullptr;
};

// Holds the backend's lock for a scope.
class backend_lock {
public:
    explicit backend_lock(audio_backend& backend) : backend_(backend) { backend_.lock(); }
    ~backend_lock() { backend_.unlock(); }
    backend_lock(const backend_lock&) = delete;
    backend_lock& operator=(const backend_lock&) = delete;

private:
    audio_backend& backend_;
};

// Reports an audio failure: each message once, on standard error.
void report_error(int32_t code, const char* message);

}  // namespace tov
