// The rewind ring: the machine's recent states in memory, newest last. The
// newest is kept whole; each older one as the change that leads back to it
// from the state after it (the two XORed, then deflated, so what stayed the
// same costs almost nothing). Stepping back undoes one change, and the
// oldest change can be dropped without touching the others.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace tov {

class rewind_ring {
public:
    // At most `states` states (at least one), together taking at most
    // `bytes` of memory; the oldest go first when either is exceeded.
    rewind_ring(std::size_t states, std::size_t bytes) { set_limits(states, bytes); }
    void set_limits(std::size_t states, std::size_t bytes);

    // Adds the state after the newest: `head` and `tail` one after the other
    // (a state and its picture, taken without joining them first). A state of
    // another length than the newest (another machine's or cartridge's)
    // starts the ring afresh.
    void push(std::string_view head, std::string_view tail = {});

    // Forgets the newest state: the one before it becomes the newest. False,
    // with nothing changed, when there is none before it.
    bool step_back();

    // The newest state; empty when the ring holds none.
    const std::string& newest() const { return newest_; }

    std::size_t size() const { return newest_.empty() ? 0 : changes_.size() + 1; }

    // The memory the states take, with what each costs to keep.
    std::size_t bytes() const;

    // Forgets every state and gives their memory back.
    void clear();

private:
    void drop_oldest_beyond_limits();

    std::string newest_;
    std::deque<std::string> changes_;  // oldest first
    std::size_t change_bytes_ = 0;
    std::size_t state_limit_;
    std::size_t byte_limit_;
    std::string scratch_;  // the change being made or undone
    std::string buffer_;   // deflate's output
};

}  // namespace tov
