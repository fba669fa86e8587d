// Where the voices are heard: an audio device that calls the mixer on its
// own thread (SDL), or an in-memory one that tests and the headless runner
// advance by hand.
#pragma once

namespace tov {

class audio_backend {
public:
    virtual ~audio_backend() = default;

    // Keeps the mixer from running until unlock; the voices' state may then
    // be changed safely.
    virtual void lock() = 0;
    virtual void unlock() = 0;

    // Output frames per second (stereo frames).
    virtual int output_rate() const = 0;
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

}  // namespace tov
