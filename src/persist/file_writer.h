// Writing a file whole or not at all: the bytes go to a temporary file in the
// same folder, which then replaces the old file in one step. A crash or a full
// disk never leaves a truncated or mixed file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tov {

// Replaces `path` with `content`; false with `error` set when it failed, in
// which case the previous file is untouched.
bool write_file_atomically(const std::filesystem::path& path, std::string_view content,
                           std::string& error);

}  // namespace tov
