#include "persist/rewind_ring.h"

// next_in of a stream is then a pointer to const.
#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tov {

namespace {

// What keeping one change costs beside its bytes: its string and its place
// in the deque.
constexpr std::size_t change_overhead = sizeof(std::string) + 16;

// out = a XOR b over `length` bytes, eight at a time.
void xor_bytes(const char* a, const char* b, char* out, std::size_t length) {
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t x;
        uint64_t y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        x ^= y;
        std::memcpy(out + i, &x, 8);
    }
    for (; i < length; ++i) {
        out[i] = static_cast<char>(a[i] ^ b[i]);
    }
}

// Raw deflate at its fastest level, without a header or checksum: a change
// lives only in memory. The stream is made once and reset for each change,
// which spares setting up its tables every time.
constexpr int raw_window_bits = -15;

class change_packer {
public:
    change_packer() {
        deflateInit2(&stream_, Z_BEST_SPEED, Z_DEFLATED, raw_window_bits, 8, Z_DEFAULT_STRATEGY);
    }
    ~change_packer() { deflateEnd(&stream_); }
    change_packer(const change_packer&) = delete;
    change_packer& operator=(const change_packer&) = delete;

    std::string pack(const std::string& data, std::string& buffer) {
        deflateReset(&stream_);
        buffer.resize(deflateBound(&stream_, data.size()));
        stream_.next_in = reinterpret_cast<const Bytef*>(data.data());
        stream_.avail_in = static_cast<uInt>(data.size());
        stream_.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream_.avail_out = static_cast<uInt>(buffer.size());
        deflate(&stream_, Z_FINISH);
        return buffer.substr(0, buffer.size() - stream_.avail_out);
    }

private:
    z_stream stream_{};
};

std::string deflated(const std::string& data, std::string& buffer) {
    static change_packer packer;
    return packer.pack(data, buffer);
}

// Inflates a change of `length` bytes made by deflated(); false if it does
// not give exactly that many.
bool inflated(const std::string& change, std::size_t length, std::string& out) {
    out.resize(length);
    z_stream stream{};
    if (inflateInit2(&stream, raw_window_bits) != Z_OK) {
        return false;
    }
    stream.next_in = reinterpret_cast<const Bytef*>(change.data());
    stream.avail_in = static_cast<uInt>(change.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(length);
    const int status = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return status == Z_STREAM_END && stream.avail_out == 0;
}

}  // namespace

void rewind_ring::set_limits(std::size_t states, std::size_t bytes) {
    state_limit_ = std::max<std::size_t>(states, 1);
    byte_limit_ = bytes;
    drop_oldest_beyond_limits();
}

void rewind_ring::push(std::string_view head, std::string_view tail) {
    if (head.size() + tail.size() != newest_.size()) {
        clear();
        newest_.append(head).append(tail);
        return;
    }
    scratch_.resize(newest_.size());
    xor_bytes(newest_.data(), head.data(), scratch_.data(), head.size());
    xor_bytes(newest_.data() + head.size(), tail.data(), scratch_.data() + head.size(),
              tail.size());
    std::string change = deflated(scratch_, buffer_);
    change_bytes_ += change.size() + change_overhead;
    changes_.push_back(std::move(change));
    std::copy(head.begin(), head.end(), newest_.begin());
    std::copy(tail.begin(), tail.end(), newest_.begin() + static_cast<std::ptrdiff_t>(head.size()));
    drop_oldest_beyond_limits();
}

bool rewind_ring::step_back() {
    if (changes_.empty() || !inflated(changes_.back(), newest_.size(), scratch_)) {
        return false;
    }
    xor_bytes(newest_.data(), scratch_.data(), newest_.data(), newest_.size());
    change_bytes_ -= changes_.back().size() + change_overhead;
    changes_.pop_back();
    return true;
}

std::size_t rewind_ring::bytes() const {
    return newest_.capacity() + scratch_.capacity() + buffer_.capacity() + change_bytes_;
}

void rewind_ring::clear() {
    *this = rewind_ring(state_limit_, byte_limit_);
}

void rewind_ring::drop_oldest_beyond_limits() {
    while (!changes_.empty() && (size() > state_limit_ || bytes() > byte_limit_)) {
        change_bytes_ -= changes_.front().size() + change_overhead;
        changes_.pop_front();
    }
}

}  // namespace tov
