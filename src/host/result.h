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

// `outcome` as the message boxes tell a failure: what could not be done
// (`headline`), an empty line, then why. A success stays as it is.
inline result headed(const std::string& headline, const result& outcome) {
    return outcome.ok ? outcome : failure(headline + "\n\n" + outcome.message);
}

}  // namespace tov
