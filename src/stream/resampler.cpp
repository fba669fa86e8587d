#include "stream/resampler.h"

#include <soxr.h>

#include <algorithm>
#include <cstdio>

namespace tov {

namespace {

constexpr double slowest_speed = 0.88;
constexpr double fastest_speed = 1.12;

}  // namespace

// A variable-rate resampler is created with the largest ratio it will take.
resampler::resampler(double input_rate, double output_rate)
    : nominal_ratio_(input_rate / output_rate) {
    soxr_error_t error = nullptr;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, SOXR_VR);
    soxr_ = soxr_create(nominal_ratio_ * fastest_speed, 1, 2, &error, &io, &quality, nullptr);
    if (error) {
        std::fprintf(stderr, "tov: no sound resampler (%s); the accurate sound stays silent.\n",
                     error);
        soxr_ = nullptr;
        return;
    }
    set_speed(1.0);
}

resampler::~resampler() {
    if (soxr_) {
        soxr_delete(soxr_);
    }
}

void resampler::set_speed(double scale) {
    if (!soxr_) {
        return;
    }
    soxr_set_io_ratio(soxr_, nominal_ratio_ * std::clamp(scale, slowest_speed, fastest_speed), 0);
}

void resampler::process(const float* frames, int count, std::vector<float>& out) {
    if (!soxr_) {
        return;
    }
    // Room for every frame the input can give, and more for a drain.
    const std::size_t room = static_cast<std::size_t>(count / nominal_ratio_ / 0.9) + 4096;
    const std::size_t start = out.size();
    out.resize(start + room * 2);
    std::size_t used = 0;
    std::size_t made = 0;
    soxr_process(soxr_, frames, frames ? static_cast<std::size_t>(count) : 0, &used,
                 out.data() + start, room, &made);
    out.resize(start + made * 2);
}

}  // namespace tov
