#include "host/audio_backend.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

namespace tov {

void audio_backend::play_from(audio_source source) {
    backend_lock hold(*this);
    source_ = source;
}

void audio_backend::pull(int16_t* out, int frames) const {
    if (source_) {
        source_(out, frames);
    } else {
        std::fill(out, out + frames * 2, 0);
    }
}

void report_error(int32_t code, const char* message) {
    static std::set<std::string> reported;
    if (reported.insert(message).second) {
        std::fprintf(stderr, "tov: sound: %s (%d)\n", message, code);
    }
}

}  // namespace tov
