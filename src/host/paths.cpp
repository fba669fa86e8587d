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

}  // namespace

std::filesystem::path program_folder() {
    const std::filesystem::path home = environment_path("TOV_HOME");
    if (!home.empty()) {
        return home;
    }
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && writable_folder(executable.parent_path())) {
        return executable.parent_path();
    }
    return user_data_folder();
}

}  // namespace tov
