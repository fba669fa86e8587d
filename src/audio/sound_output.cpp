#include "audio/sound_output.h"

#include <algorithm>

#include "sound/output_device.h"

namespace tov {

namespace {

// Read by the device's thread, which the back end's lock keeps out while
// it changes.
std::unique_ptr<sound_stream> stream;

}  // namespace

void open_sound_output(std::unique_ptr<audio_backend> device) {
    close_sound_output();
    std::unique_ptr<sound_stream> made;
    if (device) {
        made = std::make_unique<sound_stream>(device->output_rate());
    }
    start_sound(std::move(device));
    if (sound_device) {
        {
            backend_lock hold(*sound_device);
            stream = std::move(made);
        }
        sound_device->play_from(mix_output);
    }
}

void close_sound_output() {
    if (sound_device) {
        backend_lock hold(*sound_device);
        stream.reset();
    }
    close_sound_device();
}

sample_sink* played_stream() {
    return stream.get();
}

void mix_output(int16_t* out, int frames) {
    if (!sound_device) {
        std::fill(out, out + frames * 2, 0);
        return;
    }
    mix_voices(out, frames, sound_device->output_rate());
    if (stream) {
        stream->mix_into(out, frames);
    }
}

sound_stream::statistics take_output_stats() {
    return stream ? stream->take_stats() : sound_stream::statistics{};
}

}  // namespace tov
