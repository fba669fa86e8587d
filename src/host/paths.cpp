#include "host/paths.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace tov {

namespace {

std::filesystem::path environment_path(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

bool writable_folder(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error) && access(folder.c_str(), W_OK) == 0;
}

std::filesystem::path user_data_folder() {
    std::filesystem::path base = environment_path("XDG_DATA_HOME");
    if (base.empty()) {
        base = environment_path("HOME") / ".local" / "share";
    }
    const std::filesystem::path folder = base / "tov";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

// An installed copy's bin folder may be writable (by root, or under a user's
// own prefix), but files do not belong there.
bool installed_copy(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::exists(folder / installed_copy_marker(), error);
}

}  // namespace

std::filesystem::path installed_copy_marker() {
    return TOV_INSTALLED_MARKER;
}

std::filesystem::path program_folder_for(const std::filesystem::path& executable_folder) {
    const std::filesystem::path home = environment_path("TOV_HOME");
    if (!home.empty()) {
        return home;
    }
    if (writable_folder(executable_folder) && !installed_copy(executable_folder)) {
        return executable_folder;
    }
    return user_data_folder();
}

std::filesystem::path program_folder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return program_folder_for(error ? std::filesystem::path() : executable.parent_path());
}

}  // namespace tov
