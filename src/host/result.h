// The outcome of an operation that can fail: on failure, the message the
// user will read. Showing it is the front end's business.
#pragma once

#include <string>
#include <utility>

namespace tov {

struct result {
    bool ok = true;
    std::string message;  // for the user, when not ok
};

inline result failure(std::string message) {
    return {false, std::move(message)};
}

}  // namespace tov
