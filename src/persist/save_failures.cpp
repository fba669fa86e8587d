#include "persist/save_failures.h"

#include "host/files.h"

namespace tov {

result saving_state(const result& outcome) {
    return headed("The state could not be saved.", outcome);
}

result loading_state(const result& outcome) {
    return headed("The state could not be loaded.", outcome);
}

result taking_up_state(const std::filesystem::path& path, const result& outcome) {
    return outcome.ok ? outcome : loading_state(file_failure(path, outcome.message));
}

result writing_battery(const result& outcome) {
    return headed("The battery save could not be written.", outcome);
}

result reading_battery(const result& outcome) {
    return headed("The battery save could not be read.", outcome);
}

}  // namespace tov
