#include "host/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace tov {

namespace {

result describe(const std::filesystem::path& path, int problem) {
    return file_failure(path, std::strerror(problem));
}

bool write_all(int descriptor, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(descriptor, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

result file_failure(const std::filesystem::path& path, const std::string& reason) {
    return failure(path.string() + ": " + reason);
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

result unreadable(const std::string& path, const std::string& why) {
    return failure(quoted(path) + " could not be read" + (why.empty() ? "" : ": " + why) + ".");
}

result write_file_atomically(const std::filesystem::path& path, std::string_view content) {
    std::string temporary = path.string() + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        return describe(path, errno);
    }
    // mkstemp creates the file readable by its owner only; give it the usual mode.
    ::fchmod(descriptor, 0644);
    int problem = 0;
    if (!write_all(descriptor, content) || ::fsync(descriptor) != 0) {
        problem = errno;
    }
    if (::close(descriptor) != 0 && problem == 0) {
        problem = errno;
    }
    if (problem == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) {
        problem = errno;
    }
    if (problem == 0) {
        return {};
    }
    ::unlink(temporary.c_str());
    return describe(path, problem);
}

file_head read_file_head(const std::filesystem::path& path, std::size_t limit) {
    file_head head;
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        head.missing = errno == ENOENT || errno == ENOTDIR;  // no file, or no folder for it
        head.outcome = describe(path, errno);
        return head;
    }
    head.content.assign(limit, '\0');
    head.content.resize(std::fread(head.content.data(), 1, limit, file));
    const int problem = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (problem != 0) {
        head.outcome = describe(path, problem);
    }
    return head;
}

result create_folder_for(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return error ? file_failure(folder, error.message()) : result{};
}

}  // namespace tov
