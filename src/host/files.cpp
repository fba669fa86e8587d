#include "host/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tov {

namespace {

std::string describe(const std::filesystem::path& path, int problem) {
    return path.string() + ": " + std::strerror(problem);
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

bool write_file_atomically(const std::filesystem::path& path, std::string_view content,
                           std::string& error) {
    std::string temporary = path.string() + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        error = describe(path, errno);
        return false;
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
        return true;
    }
    ::unlink(temporary.c_str());
    error = describe(path, problem);
    return false;
}

bool read_file_head(const std::filesystem::path& path, std::size_t limit, std::string& content,
                    std::string& error, bool& missing) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        missing = errno == ENOENT || errno == ENOTDIR;  // no file, or no folder for it
        error = describe(path, errno);
        return false;
    }
    missing = false;
    content.assign(limit, '\0');
    content.resize(std::fread(content.data(), 1, limit, file));
    const int problem = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (problem != 0) {
        error = describe(path, problem);
        return false;
    }
    return true;
}

}  // namespace tov
