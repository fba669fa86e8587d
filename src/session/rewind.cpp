#include "session/rewind.h"

#include <algorithm>
#include <string>

#include "persist/rewind_ring.h"
#include "session/session.h"
#include "video/frame.h"

namespace tov {

namespace {

constexpr int frames_per_second = 60;
constexpr int default_seconds = 0;  // front ends choose

int seconds_kept = default_seconds;
int frames_since_kept;

std::size_t states_in(int seconds) {
    return static_cast<std::size_t>(seconds * frames_per_second / rewind_frames);
}

rewind_ring ring(states_in(default_seconds), rewind_memory_bound);

// The picture is kept with the state: a state holds none, and going back
// shows what the game showed then.
void keep_state() {
    ring.push(state_bytes(),
              std::string_view(reinterpret_cast<const char*>(frame_buffer), sizeof frame_buffer));
}

void show_newest() {
    const std::string& newest = ring.newest();
    const std::size_t state_length = newest.size() - sizeof frame_buffer;
    if (!load_state_bytes(std::string_view(newest).substr(0, state_length)).ok) {
        forget_rewind();
        return;
    }
    std::copy(newest.begin() + static_cast<std::ptrdiff_t>(state_length), newest.end(),
              frame_buffer);
}

bool frame_due() {
    if (++frames_since_kept < rewind_frames) {
        return false;
    }
    frames_since_kept = 0;
    return true;
}

}  // namespace

void rewind_at_frame_end(bool back) {
    if (seconds_kept == 0) {
        return;
    }
    if (!back) {
        if (frame_due()) {
            keep_state();
        }
        return;
    }
    if (ring.size() == 0) {
        return;
    }
    if (frame_due()) {
        ring.step_back();
    }
    show_newest();
}

void set_rewind_length(int seconds) {
    if (seconds < 0 || seconds > 60) {
        return;
    }
    seconds_kept = seconds;
    if (seconds == 0) {
        forget_rewind();
    }
    ring.set_limits(states_in(seconds), rewind_memory_bound);
}

int rewind_length() {
    return seconds_kept;
}

void forget_rewind() {
    ring.clear();
    frames_since_kept = 0;
}

std::size_t rewind_memory() {
    return ring.bytes();
}

}  // namespace tov
