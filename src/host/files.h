// Reading and writing the program's files. A file is written whole or not at
// all: the bytes go to a temporary file in the same folder, which then
// replaces the old file in one step, so a crash or a full disk never leaves a
// truncated or mixed file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tov {

// Replaces `path` with `content`; false with `error` set when it failed, in
// which case the previous file is untouched.
bool write_file_atomically(const std::filesystem::path& path, std::string_view content,
                           std::string& error);

// Reads at most `limit` bytes from the start of `path` into `content`. False
// with `error` set (naming the file and the reason) when it cannot be read;
// `missing` tells whether the file (or its folder) is simply not there.
bool read_file_head(const std::filesystem::path& path, std::size_t limit, std::string& content,
                    std::string& error, bool& missing);

}  // namespace tov
