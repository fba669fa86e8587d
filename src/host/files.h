// Reading and writing the program's files. A file is written whole or not at
// all: the bytes go to a temporary file in the same folder, which then
// replaces the old file in one step, so a crash or a full disk never leaves a
// truncated or mixed file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "host/result.h"

namespace tov {

// The failure of a file or folder, as every message names one: "PATH: REASON".
result file_failure(const std::filesystem::path& path, const std::string& reason);

// A name as the cartridge's messages give it, in double quotes.
std::string quoted(const std::string& name);

// A cartridge's file that could not be read: "\"PATH\" could not be read: WHY.",
// or without WHY when there is none to tell.
result unreadable(const std::string& path, const std::string& why = {});

// Replaces `path` with `content`. When it fails, the message names the file
// and the reason, and the previous file is untouched.
result write_file_atomically(const std::filesystem::path& path, std::string_view content);

// At most `limit` bytes from the start of a file.
struct file_head {
    std::string content;
    bool missing = false;  // the file, or its folder, is simply not there
    result outcome;        // names the file and the reason when it cannot be read
};
file_head read_file_head(const std::filesystem::path& path, std::size_t limit);

// Creates the folder that `file` goes in, with the folders above it.
result create_folder_for(const std::filesystem::path& file);

}  // namespace tov
