// The outcomes of the saves the user keeps, as the messages tell them: on
// failure, what could not be done, then why. Both machines and the seam
// report them so.
#pragma once

#include <filesystem>

#include "host/result.h"

namespace tov {

// Writing a save state, reading one, and taking up the state read from
// `path` (a refusal names the file).
result saving_state(const result& outcome);
result loading_state(const result& outcome);
result taking_up_state(const std::filesystem::path& path, const result& outcome);

// Writing a battery save, and reading one.
result writing_battery(const result& outcome);
result reading_battery(const result& outcome);

}  // namespace tov
